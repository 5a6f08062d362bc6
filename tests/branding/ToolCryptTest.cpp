// vellmark-tool encrypt/decrypt: exit status 1 on a bad container, and never a partial output.
#include "branding/AesLib.h"
#include "tests/branding/ContainerTestSupport.h"
#include "tests/support/TempDir.h"
#include "utils/TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace containertest;

namespace {

const std::string Tool = VELLMARK_TOOL_PATH;

std::size_t EntriesIn(const TTempDir &dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.Path()))
        ++n;
    return n;
}

TEST(ToolCrypt, EncryptsAndDecryptsWithTheBuiltInPassword) {
    TTempDir dir;
    const std::string text = "<%%ApplicationName%%>Example<%%/ApplicationName%%>\r\n";
    WriteFileBytes(dir.File("settings.txt"), text);
    ASSERT_EQ(RunProgram(Tool, {"encrypt", dir.File("settings.txt"), dir.File("dbsettings.dat")}), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("dbsettings.dat")).size(), text.size() + 20);
    ASSERT_EQ(RunProgram(Tool, {"decrypt", dir.File("dbsettings.dat"), dir.File("back.txt")}), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("back.txt")), text);
    EXPECT_EQ(EntriesIn(dir), 3u);
}

TEST(ToolCrypt, FailuresLeaveNoOutputAndKeepAnExistingTarget) {
    TTempDir dir;
    WriteFileBytes(dir.File("settings.txt"), std::string(300, 's'));
    ASSERT_EQ(RunProgram(Tool, {"encrypt", dir.File("settings.txt"), dir.File("good.dat")}), 0);
    const std::string good = ReadFileBytes(dir.File("good.dat"));
    const struct {
        const char *name;
        std::size_t byte; // flipped; npos: cut to 15 bytes
    } cases[] = {{"header", 9}, {"code", good.size() - 1}, {"ciphertext", 100}, {"short", std::string::npos}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string damaged = good;
        if (c.byte == std::string::npos)
            damaged.resize(15);
        else
            damaged[c.byte] = static_cast<char>(damaged[c.byte] ^ 0x10);
        WriteFileBytes(dir.File("bad.dat"), damaged);
        EXPECT_EQ(RunProgram(Tool, {"decrypt", dir.File("bad.dat"), dir.File("new.txt")}), 1);
        EXPECT_FALSE(std::filesystem::exists(dir.File("new.txt")));
        WriteFileBytes(dir.File("kept.txt"), "previous");
        EXPECT_EQ(RunProgram(Tool, {"decrypt", dir.File("bad.dat"), dir.File("kept.txt")}), 1);
        EXPECT_EQ(ReadFileBytes(dir.File("kept.txt")), "previous");
    }
    EXPECT_EQ(RunProgram(Tool, {"encrypt", dir.File("missing.txt"), dir.File("x.dat")}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.dat")));
    // settings.txt, good.dat, bad.dat, kept.txt: no temporary file was left behind.
    EXPECT_EQ(EntriesIn(dir), 4u);
}

} // namespace
