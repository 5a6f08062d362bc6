#include "widgets/TextCodec.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TCodecCase {
    const char *name;
    QString text;
    std::string bytes;
};

// Names the case in test listings.
void PrintTo(const TCodecCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class TextCodecTest : public ::testing::TestWithParam<TCodecCase> {};

TEST_P(TextCodecTest, ConvertsBothWays) {
    const TCodecCase &c = GetParam();
    EXPECT_EQ(QStringToCp1252(c.text), c.bytes);
    EXPECT_EQ(Cp1252ToQString(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cp1252, TextCodecTest,
    ::testing::Values(TCodecCase{"Ascii", QStringLiteral("Keyword: forum"), "Keyword: forum"},
                      TCodecCase{"Latin1", QString::fromUtf8("caf\xc3\xa9"), "caf\xe9"},
                      TCodecCase{"EuroSign", QString(QChar(0x20AC)), "\x80"},
                      TCodecCase{"CurlyQuotes", QString::fromUtf8("\xe2\x80\x9chi\xe2\x80\x9d"),
                                 "\x93hi\x94"},
                      TCodecCase{"UndefinedByteIsItsControl", QString(QChar(0x81)), "\x81"},
                      TCodecCase{"EmbeddedNul", QString(QChar(0)) + QLatin1Char('x'), std::string("\0x", 2)}),
    [](const auto &info) { return info.param.name; });

struct TUnmappableCase {
    const char *name;
    QString text;
    std::string bytes;
};

// Names the case in test listings.
void PrintTo(const TUnmappableCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class UnmappableTest : public ::testing::TestWithParam<TUnmappableCase> {};

TEST_P(UnmappableTest, BecomesOneQuestionMarkPerCharacter) {
    EXPECT_EQ(QStringToCp1252(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cp1252, UnmappableTest,
    ::testing::Values(TUnmappableCase{"Cjk",
                                      QString::fromUtf8("a\xe4\xb8\xad"
                                                        "b"),
                                      "a?b"},
                      TUnmappableCase{"Snowman", QString::fromUtf8("\xe2\x98\x83"), "?"},
                      // Two UTF-16 units, one character: one "?".
                      TUnmappableCase{"OutsideBasicPlane", QString::fromUtf8("x\xf0\x9f\x98\x80y"), "x?y"},
                      TUnmappableCase{"LoneSurrogate", QString(QChar(0xD800)) + QLatin1Char('z'), "?z"}),
    [](const auto &info) { return info.param.name; });

TEST(TextCodec, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(QStringToCp1252(Cp1252ToQString(all)), all);
}

} // namespace
