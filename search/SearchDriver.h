#pragma once

#include <string>

class IClock;
class IPageFetcher;
class ISearchView;
class TRandomGenerator;

// Status texts of the search as a whole.
inline constexpr const char *ProcessAbortedText = "Proccess aborted by user.";
inline constexpr const char *ProcessCompletedText = "Process completed successfully!";
// The search ends with this when no download file can be created in the application directory.
inline constexpr const char *DownloadFileErrorText =
    "Search ended: the download file could not be created in the application folder.";
// Pages failing one after another end the search after this many.
inline constexpr int MaxFailedPagesInRow = 3;

// The search loop and the Search and Stop buttons' logic, run against the window's ISearchView.
// One search at a time: a Search click while one runs (from a nested event) is refused.
class TSearchDriver final {
public:
    // host is the engine's web host ("127.0.0.1:PORT" in tests); links starting with imagePrefix
    // are image-search results and skipped.
    TSearchDriver(ISearchView &view, IPageFetcher &fetcher, TRandomGenerator &random, IClock &clock,
                  std::string host, std::string imagePrefix);
    TSearchDriver(ISearchView &view, IPageFetcher &fetcher, TRandomGenerator &random, IClock &clock);

    bool Running() const { return FRunning; }

    // btnSearchClick: clears the stop flag, the table and the status text, then runs the search.
    // Does nothing while a search is running. Returns when the search has ended.
    void SearchClick();
    // btnStopClick.
    void StopClick();
    // The loop itself: pages until the limit, the last page, the stop flag or repeated failures.
    void RunSearch();

private:
    ISearchView &FView;
    IPageFetcher &FFetcher;
    TRandomGenerator &FRandom;
    IClock &FClock;
    std::string FHost;
    std::string FImagePrefix;
    bool FRunning = false;
};
