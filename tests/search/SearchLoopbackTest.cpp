// The whole search (driver, page fetcher over the real HTTP client, extraction and table) against
// a fake search engine on the loopback interface.
#include "FakeClock.h"
#include "FakeSearchEngine.h"
#include "FakeSearchView.h"
#include "ResultPages.h"
#include "net/HttpClient.h"
#include "search/PageFetcher.h"
#include "search/ResultsTable.h"
#include "search/SearchDriver.h"
#include "tests/support/TempDir.h"
#include "utils/Random.h"
#include "utils/TextLines.h"
#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace {

using TAnswer = TFakeSearchEngine::TAnswer;

const std::string Query = "/search?q=%22forum%22+%22[IMG]+code+is+on%22&num=100&start=";

class SearchLoopbackTest : public testing::Test {
protected:
    void SetUp() override {
        // What TfrmMain does: the progress handlers and the pump of IdHTTP2.
        client.OnWorkBegin = [this](TWorkMode, std::int64_t expected) { fetcher.WorkBegin(expected); };
        client.OnWork = [this](TWorkMode, std::int64_t soFar) { fetcher.Work(soFar); };
        client.OnWorkEnd = [this](TWorkMode) { fetcher.WorkEnd(); };
        client.SetMessagePump([this] { view.ProcessMessages(); });
        // A page loop that ran away would stop here rather than hang the test.
        clock.onSleep = [this] {
            if (++pages > TFakeSearchEngine::MaxRequests)
                view.stopFlag = true;
        };
    }

    void TearDown() override {
        EXPECT_FALSE(driver.Running());
        EXPECT_TRUE(std::filesystem::is_empty(appDir.Path())) << "a download file was left behind";
    }

    std::vector<std::string> Targets(std::initializer_list<int> starts) const {
        std::vector<std::string> targets;
        for (int start : starts)
            targets.push_back(Query + std::to_string(start));
        return targets;
    }

    TFakeSearchEngine engine;
    TTempDir appDir;
    TFakeSearchView view;
    TFakeClock clock;
    TRandomGenerator random{clock};
    THttpClient client{SystemClock(), 5000};
    TPageFetcher fetcher{client, view, random, appDir.Dir()};
    TSearchDriver driver{view, fetcher, random, clock, engine.Host(), "http://images.engine"};
    int pages = 0;
};

TEST_F(SearchLoopbackTest, PagesUntilNoNextLinkWithExactTargets) {
    view.keyword = "car parts";
    view.secondStatus = "12 items";
    engine.SetAnswer(0, {200, ResultPages::Page(0, 3, true)});
    engine.SetAnswer(100, {200, ResultPages::Page(3, 3, true)});
    engine.SetAnswer(200, {200, ResultPages::Page(6, 2, false)});
    driver.SearchClick();

    const std::string query = "/search?q=%22car+parts%22+%22[IMG]+code+is+on%22&num=100&start=";
    EXPECT_EQ(engine.Targets(), (std::vector<std::string>{query + "0", query + "100", query + "200"}));
    EXPECT_EQ(engine.HeaderValues("Pragma"), std::vector<std::string>(3, "no-cache"));
    EXPECT_EQ(engine.HeaderValues("Cache-Control"), std::vector<std::string>(3, "no-cache"));
    ASSERT_EQ(view.rows.size(), 8u);
    EXPECT_EQ(view.rows[7].pos, "8");
    EXPECT_EQ(view.rows[7].title, "Site 7");
    EXPECT_EQ(view.rows[7].domain, "http://site7.example");
    EXPECT_EQ(view.rows[7].keyword, "car parts");
    EXPECT_EQ(view.secondStatus, "8 items");
    const std::string url = "http://" + engine.Host() + query + "0";
    EXPECT_EQ(std::vector<std::string>(view.mainStatusLog.begin(), view.mainStatusLog.begin() + 3),
              (std::vector<std::string>{"", "Getting URL: " + url + "...", DownloadCompletedText}));
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
    EXPECT_EQ(view.runningLog, (std::vector<bool>{true, false}));
    EXPECT_EQ(clock.sleeps.size(), 3u);
}

TEST_F(SearchLoopbackTest, FootprintByTypeIndex) {
    const std::pair<int, std::string> cases[] = {
        {1, "/search?q=%22say+%22hi%22%22+%22HTML+code+is+on%22&num=100&start=0"},
        {-1, "/search?q=%22say+%22hi%22%22+&num=100&start=0"}};
    view.keyword = "say \"hi\"";
    engine.SetAnswer(0, {200, ""});
    for (const auto &[type, target] : cases) {
        view.typeIndex = type;
        driver.SearchClick();
        EXPECT_EQ(engine.Targets().back(), target);
    }
}

TEST_F(SearchLoopbackTest, HundredItemsLimit) {
    struct TCase {
        int perPage;
        std::size_t requests;
    };
    for (const TCase c : {TCase{130, 1}, TCase{60, 2}}) {
        TFakeSearchEngine ownEngine;
        for (int page = 0; page < 3; ++page)
            ownEngine.SetAnswer(100 * page, {200, ResultPages::Page(page * c.perPage, c.perPage, true)});
        TSearchDriver limited(view, fetcher, random, clock, ownEngine.Host(), "http://images.engine");
        view.itemsIndex = 1;
        limited.SearchClick();
        EXPECT_EQ(ownEngine.Targets().size(), c.requests) << c.perPage;
        EXPECT_EQ(view.rows.size(), 100u) << c.perPage;
        EXPECT_EQ(view.rows.back().title, "Site 99");
        EXPECT_EQ(view.secondStatus, "100 items");
        EXPECT_EQ(view.mainStatus, ProcessCompletedText);
    }
}

TEST_F(SearchLoopbackTest, FirstPageFailureEndsWithTheErrorText) {
    engine.SetAnswer(0, {503, "busy"});
    driver.SearchClick();
    EXPECT_EQ(engine.Targets(), Targets({0}));
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.mainStatus, ConnectionErrorText);
}

TEST_F(SearchLoopbackTest, FailedThirdPageIsSkipped) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 2, true)});
    engine.SetAnswer(100, {200, ResultPages::Page(2, 2, true)});
    engine.SetAnswer(200, {404, "gone"});
    engine.SetAnswer(300, {200, ResultPages::Page(4, 2, false)});
    driver.SearchClick();
    EXPECT_EQ(engine.Targets(), Targets({0, 100, 200, 300}));
    EXPECT_EQ(view.rows.size(), 6u);
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
}

TEST_F(SearchLoopbackTest, ThreeFailuresInARowEndTheSearch) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 2, true)});
    driver.SearchClick(); // 100, 200 and 300 are not served
    EXPECT_EQ(engine.Targets(), Targets({0, 100, 200, 300}));
    EXPECT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.mainStatus, ConnectionErrorText);
}

TEST_F(SearchLoopbackTest, EmptyPageEndsTheSearch) {
    engine.SetAnswer(0, {200, ""});
    driver.SearchClick();
    EXPECT_EQ(engine.Targets(), Targets({0}));
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
}

TEST_F(SearchLoopbackTest, StopDuringADownload) {
    // Stop disconnects at once; closing the window only sets the flag, and the next progress
    // event disconnects.
    for (const bool stopButton : {true, false}) {
        TFakeSearchEngine ownEngine;
        ownEngine.SetAnswer(0, {200, ResultPages::Page(0, 3, true)});
        ownEngine.SetAnswer(100, {200, ResultPages::Page(3, 400, true), true});
        TSearchDriver stopped(view, fetcher, random, clock, ownEngine.Host(), "http://images.engine");
        std::function<void()> stopOnSecondPage = [&] {
            if (ownEngine.Targets().size() < 2) {
                view.onProcessMessages = stopOnSecondPage;
            } else if (stopButton) {
                stopped.StopClick();
            } else {
                view.stopFlag = true;
            }
        };
        view.onProcessMessages = stopOnSecondPage;
        view.mainStatusLog.clear();
        stopped.SearchClick();
        ownEngine.Release();
        EXPECT_EQ(ownEngine.Targets().size(), 2u);
        EXPECT_EQ(view.rows.size(), 3u);
        EXPECT_EQ(view.mainStatus, DownloadAbortedText);
        EXPECT_EQ(std::count(view.mainStatusLog.begin(), view.mainStatusLog.end(), ProcessAbortedText),
                  stopButton ? 1 : 0);
        EXPECT_EQ(std::count(view.mainStatusLog.begin(), view.mainStatusLog.end(), ProcessCompletedText), 0);
        EXPECT_TRUE(view.stopFlag);
    }
}

TEST_F(SearchLoopbackTest, DuplicateDomainsAcrossPages) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 5, true)});
    engine.SetAnswer(100, {200, ResultPages::Block("http://SITE4.example/other", "Again") +
                                    ResultPages::Block("http://site9.example/x/", "New") +
                                    ResultPages::Page(3, 3, false)});
    driver.SearchClick();
    ASSERT_EQ(view.rows.size(), 7u);
    EXPECT_EQ(view.rows[5].domain, "http://site9.example");
    EXPECT_EQ(view.rows[6].domain, "http://site5.example");
}

TEST_F(SearchLoopbackTest, ClearDuringASearch) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 4, true)});
    engine.SetAnswer(100, {200, ResultPages::Page(2, 4, false)});
    // Clear once three rows are in: later rows count from 1, earlier domains stay refused.
    std::function<void()> clearAtThree = [&] {
        if (view.rows.size() == 3)
            ClearResults(view);
        else
            view.onProcessMessages = clearAtThree;
    };
    view.onProcessMessages = clearAtThree;
    driver.SearchClick();
    ASSERT_EQ(view.rows.size(), 3u); // site3, then site4 and site5 from the second page
    EXPECT_EQ(view.rows[0].pos, "1");
    EXPECT_EQ(view.rows[0].domain, "http://site3.example");
    EXPECT_EQ(view.rows[2].domain, "http://site5.example");
    EXPECT_EQ(view.secondStatus, "3 items");
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
}

TEST_F(SearchLoopbackTest, SecondSearchRefusedWhileOneRuns) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 2, true)});
    engine.SetAnswer(100, {200, ResultPages::Page(2, 2, false), true});
    bool clicked = false;
    std::function<void()> searchAgain = [&] {
        if (engine.Targets().size() == 2 && client.Busy()) {
            view.keyword = "other";
            driver.SearchClick();
            clicked = true;
            engine.Release();
        } else {
            view.onProcessMessages = searchAgain;
        }
    };
    view.onProcessMessages = searchAgain;
    driver.SearchClick();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(engine.Targets(), Targets({0, 100}));
    EXPECT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.mainStatus, ProcessCompletedText);
    EXPECT_EQ(view.runningLog, (std::vector<bool>{true, false}));
}

TEST_F(SearchLoopbackTest, DownloadFileInTheApplicationDirectory) {
    engine.SetAnswer(0, {200, std::string("a\rb\nc\0d", 7)});
    std::vector<std::filesystem::path> seen;
    engine.OnRequest([&] {
        for (const auto &entry : std::filesystem::directory_iterator(appDir.Path()))
            seen.push_back(entry.path().filename());
    });
    random.SetSeed(7);
    TWorkBuffer page(std::string("old"));
    EXPECT_TRUE(fetcher.DownloadPage("http://" + engine.Host() + "/search?start=0", page));
    EXPECT_EQ(page.ToString(), std::string("a\r\nb\r\nc\r\n"));
    TRandomGenerator replay(clock);
    replay.SetSeed(7);
    EXPECT_EQ(seen, (std::vector<std::filesystem::path>{"test" + std::to_string(replay.RandomIndex(1000)) +
                                                        ".html"}));
    EXPECT_EQ(view.gaugeMax, 7);
    EXPECT_EQ(view.gaugeValue, 7);
    EXPECT_EQ(view.mainStatus, DownloadCompletedText);
}

TEST_F(SearchLoopbackTest, FetcherFailuresLeaveThePageAlone) {
    engine.SetAnswer(0, {200, std::string(5000, 'x')});
    engine.SetAnswer(100, {404, "missing"});
    TPageFetcher small(client, view, random, appDir.Dir(), 1000);
    const std::string base = "http://" + engine.Host() + "/search?start=";
    TWorkBuffer page(std::string("kept"));
    for (const std::string &url : {base + "0", base + "100", std::string("http://127.0.0.1:1/search")}) {
        view.mainStatus.clear();
        EXPECT_FALSE(small.DownloadPage(url, page)) << url;
        EXPECT_EQ(view.mainStatus, ConnectionErrorText) << url;
        EXPECT_EQ(page.ToString(), "kept");
    }
    view.stopFlag = true;
    view.mainStatus = "unchanged";
    EXPECT_FALSE(small.DownloadPage(base + "0", page));
    EXPECT_EQ(view.mainStatus, "unchanged");
    EXPECT_EQ(engine.Targets().size(), 2u);
}

TEST_F(SearchLoopbackTest, UnusableApplicationDirectoryEndsTheSearch) {
    engine.SetAnswer(0, {200, ResultPages::Page(0, 2, false)});
    WriteFileBytes(appDir.File("not-a-directory"), "x");
    std::vector<std::string> dirs = {appDir.File("not-a-directory") + "/"};
    if (geteuid() != 0) {
        std::filesystem::create_directory(appDir.Path() / "read-only");
        std::filesystem::permissions(appDir.Path() / "read-only",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        dirs.push_back(appDir.File("read-only") + "/");
    }
    for (const std::string &dir : dirs) {
        TPageFetcher fetcherThere(client, view, random, dir);
        TSearchDriver driverThere(view, fetcherThere, random, clock, engine.Host(), "http://images.engine");
        driverThere.SearchClick();
        EXPECT_EQ(view.mainStatus, DownloadFileErrorText) << dir;
        EXPECT_FALSE(driverThere.Running());
    }
    EXPECT_TRUE(engine.Targets().empty());
    std::filesystem::remove(appDir.File("not-a-directory"));
    std::filesystem::remove(appDir.Path() / "read-only");
}

} // namespace
