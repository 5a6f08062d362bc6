// The loop's control flow against a scripted page fetcher; the real fetcher and a loopback engine
// are exercised in SearchLoopbackTest.cpp.
#include "search/SearchDriver.h"

#include "FakeClock.h"
#include "FakeSearchView.h"
#include "ResultPages.h"
#include "search/PageFetcher.h"
#include "utils/Random.h"
#include "utils/TextLines.h"
#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// Each request takes the next scripted answer: a page text, or nothing for a failure (reported
// with the fetcher's error text, as the real one does).
class TScriptedFetcher final : public IPageFetcher {
public:
    explicit TScriptedFetcher(ISearchView &view) : FView(view) {}

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> urls;
    std::function<void()> onDownload;
    bool throwFileError = false;
    int disconnects = 0;

    bool DownloadPage(const std::string &url, TWorkBuffer &page) override {
        if (FView.StopFlag())
            return false;
        if (throwFileError)
            throw EFileError("Cannot create file");
        urls.push_back(url);
        if (onDownload)
            onDownload();
        std::optional<std::string> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        if (!answer) {
            FView.SetMainStatusText(FView.StopFlag() ? DownloadAbortedText : ConnectionErrorText);
            return false;
        }
        page.Assign(*answer);
        FView.SetMainStatusText(DownloadCompletedText);
        return true;
    }
    void Disconnect() override { ++disconnects; }

private:
    ISearchView &FView;
};

class SearchDriverTest : public testing::Test {
protected:
    TFakeSearchView view;
    TFakeClock clock;
    TRandomGenerator random{clock};
    TScriptedFetcher fetcher{view};
    TSearchDriver driver{view, fetcher, random, clock, "engine.test", "http://images.engine"};
};

TEST_F(SearchDriverTest, WaitsAreDrawnFromTheReseededGeneratorWithoutPumping) {
    fetcher.answers = {ResultPages::Page(0, 0, true), ResultPages::Page(0, 0, false)};
    int pumpsAtSleep = -1;
    clock.onSleep = [&] { pumpsAtSleep = view.processMessagesCalls; };
    random.SetSeed(42);
    driver.SearchClick();

    TRandomGenerator replay(clock);
    replay.Randomize();
    const std::uint32_t firstWait = replay.RandomIndex(5000);
    ASSERT_EQ(clock.sleeps.size(), 2u);
    EXPECT_EQ(clock.sleeps[0], firstWait);
    EXPECT_LT(clock.sleeps[1], 5000u);
    EXPECT_EQ(pumpsAtSleep, view.processMessagesCalls); // no rows, no pumps: the sleep pumped nothing
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
}

TEST_F(SearchDriverTest, FailedPagesEndTheSearchOnlyInARow) {
    // fail, ok, fail, fail, ok, fail, fail, fail: the search runs to the eighth request.
    const std::string next = ResultPages::Page(0, 0, true);
    fetcher.answers = {std::nullopt, next,         std::nullopt, std::nullopt, next,
                       std::nullopt, std::nullopt, std::nullopt, next};
    driver.SearchClick();
    EXPECT_EQ(fetcher.urls.size(), 1u); // the first failure leaves an empty page buffer: no next page
    EXPECT_EQ(view.mainStatus, ConnectionErrorText);

    fetcher.urls.clear();
    driver.SearchClick();
    ASSERT_EQ(fetcher.urls.size(), 7u);
    EXPECT_TRUE(fetcher.urls.back().ends_with("&start=600"));
    EXPECT_EQ(view.mainStatus, ConnectionErrorText);
    EXPECT_EQ(view.runningLog, (std::vector<bool>{true, false, true, false}));
}

TEST_F(SearchDriverTest, FileErrorEndsTheSearchWithItsOwnText) {
    fetcher.throwFileError = true;
    driver.SearchClick();
    EXPECT_EQ(view.mainStatus, DownloadFileErrorText);
    EXPECT_FALSE(driver.Running());
}

TEST_F(SearchDriverTest, StopDuringRowsFinishesThePage) {
    fetcher.answers = {ResultPages::Page(0, 5, true), ResultPages::Page(5, 5, true)};
    view.onProcessMessages = [&] { driver.StopClick(); };
    driver.SearchClick();
    EXPECT_EQ(view.rows.size(), 5u);
    EXPECT_EQ(fetcher.urls.size(), 1u);
    EXPECT_EQ(view.mainStatus, ProcessAbortedText);
    EXPECT_EQ(fetcher.disconnects, 2);
    EXPECT_TRUE(view.stopFlag);
}

TEST_F(SearchDriverTest, SecondSearchRefusedWhileRunning) {
    fetcher.answers = {ResultPages::Page(0, 3, true), ResultPages::Page(3, 3, false)};
    bool runningSeen = false;
    fetcher.onDownload = [&] {
        if (fetcher.urls.size() == 2) {
            view.keyword = "other";
            runningSeen = driver.Running();
            driver.SearchClick();
        }
    };
    driver.SearchClick();
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(fetcher.urls.size(), 2u);
    EXPECT_EQ(view.rows.size(), 6u);
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
    EXPECT_EQ(view.runningLog, (std::vector<bool>{true, false}));
}

} // namespace
