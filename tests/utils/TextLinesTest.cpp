#include "utils/TextLines.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLines, JoinNormalisesLineEndsAndStopsAtNul) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a\rb\nc", "a\r\nb\r\nc\r\n"},
        {std::string("first\r\nsec\0ond\r\n", 17), "first\r\nsec\r\n"},
        {std::string("one\n\0two", 8), "one\r\n"},
        {"", ""},
        {"\r\n", "\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"x\r\n", "x\r\n"},
        {"\r", "\r\n"},
        {"x\n\r", "x\r\n\r\n"},
        {"a\r\n\r\nb\r", "a\r\n\r\nb\r\n"},
        {std::string("\0a", 2), ""},
    };
    for (const auto &[data, joined] : cases)
        EXPECT_EQ(JoinLinesCrLf(std::string_view(data)), joined);
    EXPECT_EQ(SplitLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(TextLines, FilesRoundTripWithCrLf) {
    TTempDir dir;
    const std::string path = dir.File("lines.txt");
    WriteFileLines(path, {"one", "", "th\xe9ree"});
    EXPECT_EQ(ReadFileBytes(path), "one\r\n\r\nth\xe9ree\r\n");
    EXPECT_EQ(ReadFileLines(path), (std::vector<std::string>{"one", "", "th\xe9ree"}));
    EXPECT_EQ(ReadFileLinesJoined(path), "one\r\n\r\nth\xe9ree\r\n");
}

TEST(TextLines, ErrorsAreReported) {
    TTempDir dir;
    EXPECT_THROW(ReadFileBytes(dir.File("missing")), EFileError);
    EXPECT_THROW(WriteFileBytes(dir.File("no/such/dir"), "x"), EFileError);
    WriteFileBytes(dir.File("big"), std::string(100, 'x'));
    EXPECT_THROW(ReadFileBytes(dir.File("big"), 99), EFileError);
    EXPECT_EQ(ReadFileBytes(dir.File("big"), 100).size(), 100u);
}

} // namespace
