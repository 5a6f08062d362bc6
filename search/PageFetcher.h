#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "search/PageFile.h"

class ISearchView;
class THttpClient;
class TRandomGenerator;
class TWorkBuffer;

// Status texts of a page request.
inline constexpr const char *DownloadCompletedText = "Download completed!";
inline constexpr const char *ConnectionErrorText =
    "Connection error, check if you are connected and url exists.";
inline constexpr const char *DownloadAbortedText = "Download aborted by user.";

// Fetches result pages for the search loop. The driver talks to it through this seam so the loop
// can be exercised without a network.
class IPageFetcher {
public:
    virtual ~IPageFetcher() = default;
    // Replaces page with the result page at url and answers true, or answers false and leaves
    // page as it was. Reports in the view's status bar. Throws EFileError only when the download
    // file cannot be created; that ends the search.
    virtual bool DownloadPage(const std::string &url, TWorkBuffer &page) = 0;
    // Breaks a running download; never throws.
    virtual void Disconnect() = 0;
};

// DownloadPage over the search client (IdHTTP2), through a temporary "test<N>.html" in the
// application directory, and the logic of the client's three progress handlers.
class TPageFetcher final : public IPageFetcher {
public:
    // appDir ends with '/'. The random generator is the one the search reseeds.
    TPageFetcher(THttpClient &client, ISearchView &view, TRandomGenerator &random, std::string appDir,
                 std::size_t maxPageBytes = MaxPageBytes);

    bool DownloadPage(const std::string &url, TWorkBuffer &page) override;
    void Disconnect() override;

    // IdHTTP2WorkBegin / IdHTTP2Work / IdHTTP2WorkEnd, work mode ignored.
    void WorkBegin(std::int64_t expected);
    void Work(std::int64_t soFar);
    void WorkEnd();

private:
    void Fail();

    THttpClient &FClient;
    ISearchView &FView;
    TRandomGenerator &FRandom;
    std::string FAppDir;
    std::size_t FMaxPageBytes;
};
