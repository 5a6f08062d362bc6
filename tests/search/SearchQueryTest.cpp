#include "search/SearchQuery.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchQueryTest, EncodesOnlySpacesAndQuotes) {
    EXPECT_EQ(EncodeQueryText("forum seo"), "forum+seo");
    EXPECT_EQ(EncodeQueryText("say \"hi\""), "say+%22hi%22");
    EXPECT_EQ(EncodeQueryText("a&b#c%d+e[f]\xE9"), "a&b#c%d+e[f]\xE9");
    EXPECT_EQ(EncodeQueryText("\"[IMG] code is on\""), "%22[IMG]+code+is+on%22");
    EXPECT_EQ(EncodeQueryText(""), "");
}

TEST(SearchQueryTest, FootprintAndLimitByIndex) {
    EXPECT_EQ(FootprintForType(0), "\"[IMG] code is on\"");
    EXPECT_EQ(FootprintForType(1), "\"HTML code is on\"");
    EXPECT_EQ(FootprintForType(2), "");
    EXPECT_EQ(FootprintForType(-1), "");
    EXPECT_EQ(ItemLimitForIndex(0), 0);
    EXPECT_EQ(ItemLimitForIndex(1), 100);
    EXPECT_EQ(ItemLimitForIndex(9), 900);
    EXPECT_EQ(ItemLimitForIndex(-1), 0);
}

TEST(SearchQueryTest, ResultPageUrl) {
    const std::string img = EncodeQueryText(FootprintForType(0));
    EXPECT_EQ(ResultPageUrl("www.example.com", EncodeQueryText("forum seo"), img, 0),
              "http://www.example.com/search?q=%22forum+seo%22+%22[IMG]+code+is+on%22&num=100&start=0");
    EXPECT_EQ(ResultPageUrl("h", "k", EncodeQueryText(FootprintForType(1)), 1),
              "http://h/search?q=%22k%22+%22HTML+code+is+on%22&num=100&start=100");
    EXPECT_EQ(ResultPageUrl("127.0.0.1:8080", "", "", 12),
              "http://127.0.0.1:8080/search?q=%22%22+&num=100&start=1200");
}

} // namespace
