#include "search/PageFile.h"

#include "tests/support/TempDir.h"
#include "utils/TextLines.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TEST(PageFileTest, ReadPageFileIsBounded) {
    TTempDir dir;
    const std::string path = dir.File("page.html");
    WriteFileBytes(path, std::string(100, 'x') + "\n");
    EXPECT_EQ(ReadPageFile(path, 101), std::string(100, 'x') + "\r\n");
    EXPECT_THROW(ReadPageFile(path, 100), EFileError);
    EXPECT_THROW(ReadPageFile(dir.File("missing.html")), EFileError);
    EXPECT_THROW(ReadPageFile(dir.Dir()), EFileError);
}

TEST(PageFileTest, DownloadFileRefusesToGrowPastItsLimit) {
    TTempDir dir;
    const std::string path = dir.File("test1.html");
    {
        TDownloadFile file(path, 10);
        std::ostream out(&file);
        out << "0123456789";
        file.Close();
        EXPECT_FALSE(file.TooLarge());
    }
    EXPECT_EQ(ReadFileBytes(path), "0123456789");
    for (std::size_t chunk : {1u, 3u, 70000u}) {
        TDownloadFile file(path, 65536);
        std::ostream out(&file);
        out.exceptions(std::ios::badbit);
        const std::string piece(chunk, 'y');
        EXPECT_THROW(
            {
                for (int i = 0; i < 100000; ++i)
                    out.write(piece.data(), static_cast<std::streamsize>(piece.size())) << 'z';
                file.Close();
            },
            std::exception)
            << chunk;
        EXPECT_TRUE(file.TooLarge()) << chunk;
        file.Discard();
        EXPECT_LE(ReadFileBytes(path).size(), 65536u);
    }
    EXPECT_THROW(TDownloadFile(dir.File("no/dir/test2.html"), 10), EFileError);
}

} // namespace
