#include "utils/UUtils.h"
#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

namespace {

struct TExtractCase {
    const char *name;
    const char *buffer;
    const char *open;
    const char *close;
    int offset;
    const char *result;
    const char *bufferAfter;
};

void PrintTo(const TExtractCase &c, std::ostream *out) {
    *out << c.name;
}

class ExtractBetweenCases : public ::testing::TestWithParam<TExtractCase> {};

TEST_P(ExtractBetweenCases, ResultAndConsumedBuffer) {
    const TExtractCase &c = GetParam();
    TWorkBuffer buffer{std::string(c.buffer)};
    EXPECT_EQ(ExtractBetween(c.open, c.close, c.offset, buffer), c.result);
    EXPECT_EQ(buffer.ToString(), c.bufferAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtractBetweenCases,
    ::testing::Values(
        TExtractCase{"TagFoundFoldedLeavesClosingMarker", "x<%%A%%>1<%%/A%%>y", "<%%a%%>", "<%%/A%%>", 0, "1",
                     "<%%/A%%>y"},
        TExtractCase{"SecondExtractionOfSameTagFindsNothing", "<%%/A%%>y", "<%%a%%>", "<%%/A%%>", 0, "",
                     "<%%/A%%>y"},
        TExtractCase{"NoOpeningMarkerLeavesBuffer", "abc", "<x>", "</x>", 0, "", "abc"},
        TExtractCase{"NoClosingMarkerConsumesOpening", "pre<x>tail", "<x>", "</x>", 0, "", "tail"},
        TExtractCase{"ClosingMarkerNotConsumed", ">Forum</a> rest", ">", "</a>", 0, "Forum", "</a> rest"},
        TExtractCase{"ResultKeepsOriginalCase", "<A>MiXeD</A>", "<a>", "</a>", 0, "MiXeD", "</A>"},
        TExtractCase{"OnlyAsciiLettersFold", "<\xe9>v</\xe9>", "<\xc9>", "</\xe9>", 0, "", "<\xe9>v</\xe9>"},
        TExtractCase{"EmptyValue", "<a></a>z", "<a>", "</a>", 0, "", "</a>z"},
        TExtractCase{"FirstOccurrenceWins", "<a>1</a><a>2</a>", "<a>", "</a>", 0, "1", "</a><a>2</a>"},
        TExtractCase{"ClosingSearchedAfterOpening", "</a><a>v</a>", "<a>", "</a>", 0, "v", "</a>"},
        TExtractCase{"OffsetSkipsAfterBothMarkers", "[ab]cd|ef", "[", "|", 1, "b]cd", "ef"},
        TExtractCase{"OffsetPastEndEmptiesBuffer", "<a>", "<a>", "</a>", 5, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ExtractBetween, ConsecutiveTagsReadInOrder) {
    TWorkBuffer buffer{std::string("<%%One%%>1<%%/One%%>\r\n<%%Two%%>2\r\nx<%%/Two%%>\r\n")};
    EXPECT_EQ(ExtractBetween("<%%one%%>", "<%%/one%%>", 0, buffer), "1");
    EXPECT_EQ(ExtractBetween("<%%TWO%%>", "<%%/TWO%%>", 0, buffer), "2\r\nx");
    // A tag that stands before the current position is not found any more.
    EXPECT_EQ(ExtractBetween("<%%One%%>", "<%%/One%%>", 0, buffer), "");
}

// Searches remember what they found, so this checks the memory never answers for a stale start.
TEST(WorkBuffer, SearchMemoryFollowsConsumption) {
    TWorkBuffer buffer{std::string("ab>cd>ef")};
    EXPECT_EQ(buffer.Find(">"), 2u);
    buffer.Consume(1);
    EXPECT_EQ(buffer.Find(">"), 1u);
    buffer.Consume(2);
    EXPECT_EQ(buffer.Find(">"), 2u);
    buffer.Consume(3);
    EXPECT_EQ(buffer.Find(">"), TWorkBuffer::npos);
    EXPECT_EQ(buffer.FindFolded("F"), 1u);
    buffer.Assign("x>");
    EXPECT_EQ(buffer.Find(">"), 1u);
    EXPECT_TRUE(buffer.Contains(""));
}

TEST(WorkBuffer, FoldedAndExactSearchesAreSeparate) {
    TWorkBuffer buffer{std::string("<LI CLASS=G><li class=g>")};
    EXPECT_EQ(buffer.Find("<li class=g"), 12u);
    EXPECT_EQ(buffer.FindFolded("<li class=g"), 0u);
    buffer.Consume(1);
    EXPECT_EQ(buffer.FindFolded("<li class=g"), 11u);
    EXPECT_EQ(buffer.Find("<li class=g"), 11u);
}

// A hostile page: many openings whose closing marker never comes. Each extraction must fail fast
// after the first failure, or this test would take minutes instead of milliseconds.
TEST(ExtractBetween, UnpairedOpeningsStayLinear) {
    std::string page;
    for (int i = 0; i < 200000; ++i)
        page += "<li class=g";
    TWorkBuffer buffer{page};
    int calls = 0;
    while (buffer.Contains("<li class=g")) {
        EXPECT_EQ(ExtractBetween("<li class=g", ">", 0, buffer), "");
        ++calls;
    }
    EXPECT_EQ(calls, 200000);
    EXPECT_TRUE(buffer.Empty());
}

} // namespace
