#include "utils/Cp1252.h"
#include "utils/TextUtils.h"
#include "utils/UUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TFields = std::vector<std::string>;

TEST(SplitBySeparator, FieldsAtCaret) {
    const std::vector<std::pair<std::string, TFields>> cases = {
        {"a^b", {"a", "b"}},  {"a^^b", {"a", "", "b"}},
        {"^a", {"", "a"}},    {"a^", {"a"}},
        {"^", {""}},          {"", {}},
        {"a^b^", {"a", "b"}},
    };
    for (const auto &[text, expected] : cases) {
        TFields list = {"stale"};
        SplitBySeparator('^', text, list);
        EXPECT_EQ(list, expected) << "text: " << text;
    }
}

TEST(SplitBySeparator, HighByteSeparator) {
    TFields list;
    SplitBySeparator('\xAF',
                     "OK\xAF"
                     "12^A^D1\xAF\xAF"
                     "11^B^D2",
                     list);
    EXPECT_EQ(list, (TFields{"OK", "12^A^D1", "", "11^B^D2"}));
}

TEST(DecodeHexEscapes, Table) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a$41b", "aAb"},
        {"$4", std::string(1, '\x04')},
        {"a$4a", "aJ"},
        {"$3Cb$3EHi$3C/b$3E", "<b>Hi</b>"},
        {"$00x", std::string("\0x", 2)},
        {"$ff", "\xff"},
        {"plain", "plain"},
        {"", ""},
        {"abc$", ""},
        {"$G1", ""},
        {"$ 4", ""},
        {"x$4 y", ""},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(DecodeHexEscapes(input), expected) << "input: " << input;
}

TEST(TextUtils, FoldingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpper("abz\xe9[]{}"), "ABZ\xe9[]{}");
    EXPECT_EQ(AsciiLower("ABZ\xc9@"), "abz\xc9@");
    EXPECT_TRUE(StartsWithNoCase("HTTP://x", "http://"));
    EXPECT_FALSE(StartsWithNoCase("http:", "http://"));
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("x&amp;lt;", "&amp;", "&"), "x&lt;");
    EXPECT_EQ(TrimControl(std::string(" \r\n\0OK \t", 8)), "OK");
}

TEST(Cp1252, RoundTripsEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t unicode = Cp1252ToUnicode(static_cast<unsigned char>(byte));
        const auto back = UnicodeToCp1252(unicode);
        ASSERT_TRUE(back.has_value()) << byte;
        EXPECT_EQ(*back, byte);
    }
    EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0xE9), u'\u00E9');
    EXPECT_FALSE(UnicodeToCp1252(U'\u4E2D').has_value());
    EXPECT_FALSE(UnicodeToCp1252(U'\U0001F600').has_value());
}

} // namespace
