#include "branding/AesLib.h"
#include "tests/branding/ContainerTestSupport.h"
#include "tests/support/TempDir.h"
#include "utils/TextLines.h"
#include "utils/UUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace containertest;

namespace {

TEST(ContainerFiles, RoundTripWithBuiltInPassword) {
    TTempDir dir;
    const std::string text = "<%%ApplicationName%%>Example<%%/ApplicationName%%>\r\n";
    WriteFileBytes(dir.File("dbsettings.sim"), text);
    ASSERT_TRUE(EncryptToFile(dir.File("dbsettings.sim"), dir.File("dbsettings.dat")));
    const std::string container = ReadFileBytes(dir.File("dbsettings.dat"));
    EXPECT_EQ(container.size(), text.size() + 20);

    // The built-in password is the literal one, so any reader of the layout can open the file.
    std::istringstream in(container);
    std::ostringstream out;
    TEncryption reader("qpwzmxnvkt", 262144);
    EXPECT_TRUE(reader.DecryptStream(in, out, static_cast<std::int64_t>(container.size())));
    EXPECT_EQ(out.str(), text);

    WriteFileBytes(dir.File("out.txt"), "old content that must go");
    EXPECT_TRUE(DecryptToFile(dir.File("dbsettings.dat"), dir.File("out.txt")));
    EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), text);
}

TEST(ContainerFiles, MissingInputThrowsAndCreatesNoOutput) {
    TTempDir dir;
    EXPECT_THROW(DecryptToFile(dir.File("missing.dat"), dir.File("plain.sim")), EFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("plain.sim")));
    EXPECT_THROW(EncryptToFile(dir.File("missing.sim"), dir.File("out.dat")), EFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.dat")));

    WriteFileBytes(dir.File("plain.sim"), "x");
    EXPECT_THROW(EncryptToFile(dir.File("plain.sim"), dir.File("no/such/dir.dat")), EFileError);
}

// The plain copy is created before the data is checked: a bad header leaves it empty, also when
// it held text before.
TEST(ContainerFiles, VerifierMismatchLeavesEmptyOutput) {
    TTempDir dir;
    WriteFileBytes(dir.File("plain.sim"), std::string(100, 'a'));
    ASSERT_TRUE(EncryptToFile(dir.File("plain.sim"), dir.File("dbsettings.dat")));
    std::string container = ReadFileBytes(dir.File("dbsettings.dat"));
    container[8] = static_cast<char>(container[8] ^ 0x01);
    WriteFileBytes(dir.File("dbsettings.dat"), container);

    EXPECT_FALSE(DecryptToFile(dir.File("dbsettings.dat"), dir.File("plain.sim")));
    ASSERT_TRUE(std::filesystem::exists(dir.File("plain.sim")));
    EXPECT_EQ(std::filesystem::file_size(dir.File("plain.sim")), 0u);

    WriteFileBytes(dir.File("short.dat"), "too short");
    EXPECT_FALSE(DecryptToFile(dir.File("short.dat"), dir.File("short.sim")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("short.sim")));
}

} // namespace
