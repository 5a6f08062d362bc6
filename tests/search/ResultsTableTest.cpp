#include "search/ResultsTable.h"

#include "FakeSearchView.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultsTableTest, OneRowPerDomainAnyCase) {
    TFakeSearchView view;
    view.keyword = "car parts";
    TResultsTable table(0);
    EXPECT_TRUE(table.AddResult(view, "http://Host.example/a", "A"));
    EXPECT_FALSE(table.AddResult(view, "http://Host.example/b/c", "B"));
    EXPECT_FALSE(table.AddResult(view, "http://host.example/x", "X"));
    EXPECT_TRUE(table.AddResult(view, "http://other.example", "O"));
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].pos, "1");
    EXPECT_EQ(view.rows[0].title, "A");
    EXPECT_EQ(view.rows[0].domain, "http://Host.example");
    EXPECT_EQ(view.rows[0].keyword, "car parts");
    EXPECT_EQ(view.rows[1].pos, "2");
    EXPECT_EQ(view.secondStatus, "2 items");
    EXPECT_EQ(view.processMessagesCalls, 2); // after each added row only
}

TEST(ResultsTableTest, LimitRefusesNewDomains) {
    TFakeSearchView view;
    TResultsTable table(100);
    for (int n = 0; n < 100; ++n)
        ASSERT_TRUE(table.AddResult(view, "http://s" + std::to_string(n) + ".example", "t"));
    EXPECT_TRUE(table.LimitReached(view));
    EXPECT_FALSE(table.AddResult(view, "http://new.example", "t"));
    EXPECT_EQ(view.rows.size(), 100u);
    EXPECT_EQ(view.secondStatus, "100 items");
}

TEST(ResultsTableTest, ClearKeepsSeenDomainsAndRestartsNumbering) {
    TFakeSearchView view;
    view.mainStatus = "Download completed!";
    TResultsTable table(0);
    table.AddResult(view, "http://a.example", "A");
    table.AddResult(view, "http://b.example", "B");
    ClearResults(view);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.mainStatus, "");
    EXPECT_EQ(view.secondStatus, "");
    EXPECT_FALSE(table.AddResult(view, "http://A.example/x", "A again"));
    EXPECT_TRUE(table.AddResult(view, "http://c.example", "C"));
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].pos, "1");
    EXPECT_EQ(view.secondStatus, "1 items");
}

TEST(ResultsTableTest, KeywordReadWhenTheRowIsAdded) {
    TFakeSearchView view;
    TResultsTable table(0);
    view.keyword = "first";
    table.AddResult(view, "http://a.example", "A");
    view.keyword = " edited ";
    table.AddResult(view, "http://b.example", "B");
    EXPECT_EQ(view.rows[1].keyword, " edited ");
}

} // namespace
