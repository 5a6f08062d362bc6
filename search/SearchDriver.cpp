#include "search/SearchDriver.h"

#include "app/BuildConfig.h"
#include "platform/Clock.h"
#include "search/PageFetcher.h"
#include "search/ResultExtraction.h"
#include "search/ResultsTable.h"
#include "search/SearchQuery.h"
#include "search/SearchView.h"
#include "utils/Random.h"
#include "utils/TextLines.h"
#include "utils/WorkBuffer.h"

namespace {

// Marks the driver busy for the length of a search and tells the view, also when an error escapes.
class TRunningScope final {
public:
    TRunningScope(bool &running, ISearchView &view) : FRunning(running), FView(view) {
        FRunning = true;
        FView.SearchRunningChanged(true);
    }
    ~TRunningScope() {
        FRunning = false;
        FView.SearchRunningChanged(false);
    }
    TRunningScope(const TRunningScope &) = delete;
    TRunningScope &operator=(const TRunningScope &) = delete;

private:
    bool &FRunning;
    ISearchView &FView;
};

} // namespace

TSearchDriver::TSearchDriver(ISearchView &view, IPageFetcher &fetcher, TRandomGenerator &random,
                             IClock &clock, std::string host, std::string imagePrefix)
    : FView(view), FFetcher(fetcher), FRandom(random), FClock(clock), FHost(std::move(host)),
      FImagePrefix(std::move(imagePrefix)) {}

TSearchDriver::TSearchDriver(ISearchView &view, IPageFetcher &fetcher, TRandomGenerator &random,
                             IClock &clock)
    : TSearchDriver(view, fetcher, random, clock, BuildConfig::SearchHost, BuildConfig::ImageSearchPrefix) {}

void TSearchDriver::SearchClick() {
    // Two searches would share the search client and interleave their tables.
    if (FRunning)
        return;
    FView.SetStopFlag(false);
    FView.ClearResultRows();
    FView.SetMainStatusText("");
    RunSearch();
}

void TSearchDriver::StopClick() {
    FView.SetStopFlag(true);
    FFetcher.Disconnect();
    FFetcher.Disconnect();
    FView.SetMainStatusText(ProcessAbortedText);
    FView.ProcessMessages();
}

void TSearchDriver::RunSearch() {
    if (FRunning)
        return;
    TRunningScope running(FRunning, FView);

    TResultsTable table(ItemLimitForIndex(FView.ItemsIndex()));
    const std::string footprint = EncodeQueryText(FootprintForType(FView.TypeIndex()));
    const std::string keyword = EncodeQueryText(FView.Keyword());
    FRandom.Randomize();

    TWorkBuffer page;
    int pageIndex = -1;
    int failedInRow = 0;
    for (;;) {
        // Spaces the requests out like a person paging through; the window is deliberately not
        // serviced meanwhile.
        FClock.Sleep(FRandom.RandomIndex(5000));
        ++pageIndex;
        const std::string url = ResultPageUrl(FHost, keyword, footprint, pageIndex);

        bool downloaded = false;
        try {
            downloaded = FFetcher.DownloadPage(url, page);
        } catch (const EFileError &) {
            FView.SetMainStatusText(DownloadFileErrorText);
            return;
        }

        if (downloaded) {
            failedInRow = 0;
            ScanResultPage(page, FImagePrefix, [&](const TCandidate &candidate) {
                table.AddResult(FView, candidate.link, candidate.title);
            });
        } else {
            ++failedInRow;
        }

        if (table.LimitReached(FView) || !HasNextPage(page) || FView.StopFlag() ||
            failedInRow >= MaxFailedPagesInRow)
            break;
    }

    // A failed last page keeps its error text: the search did not complete.
    if (!FView.StopFlag() && failedInRow == 0)
        FView.SetMainStatusText(ProcessCompletedText);
}
