#include "search/PageFetcher.h"

#include "net/HttpClient.h"
#include "search/SearchView.h"
#include "utils/Random.h"
#include "utils/TextLines.h"
#include "utils/WorkBuffer.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {

std::int64_t GaugeNumber(std::int64_t count) { return std::max<std::int64_t>(count, 0); }

// The download file exists only during one request, whatever way the request ends.
class TRemoveOnExit final {
public:
    explicit TRemoveOnExit(const std::string &path) : FPath(path) {}
    ~TRemoveOnExit() { std::remove(FPath.c_str()); }
    TRemoveOnExit(const TRemoveOnExit &) = delete;
    TRemoveOnExit &operator=(const TRemoveOnExit &) = delete;

private:
    const std::string &FPath;
};

} // namespace

TPageFetcher::TPageFetcher(THttpClient &client, ISearchView &view, TRandomGenerator &random,
                           std::string appDir, std::size_t maxPageBytes)
    : FClient(client), FView(view), FRandom(random), FAppDir(std::move(appDir)), FMaxPageBytes(maxPageBytes) {
}

bool TPageFetcher::DownloadPage(const std::string &url, TWorkBuffer &page) {
    if (FView.StopFlag())
        return false;

    const std::string path = FAppDir + "test" + std::to_string(FRandom.RandomIndex(1000)) + ".html";
    TRemoveOnExit removeFile(path);
    // Not being able to create the file is no network failure: it escapes to the driver.
    TDownloadFile file(path, FMaxPageBytes);

    try {
        FView.SetMainStatusText("Getting URL: " + url + "...");
        FView.SetGaugeValue(0);
        FClient.SetPragma("no-cache");
        FClient.SetCacheControl("no-cache");
        {
            std::ostream out(&file);
            out.exceptions(std::ios::badbit);
            FClient.Get(url, out);
            // A client that swallowed the refused write must not pass a truncated page on.
            if (out.bad() || file.TooLarge())
                throw EFileError("The page is too large");
        }
        file.Close();
        FClient.Disconnect();

        if (FView.StopFlag()) {
            FView.SetMainStatusText(DownloadAbortedText);
            return false;
        }
        std::string text = ReadPageFile(path, FMaxPageBytes);
        page.Assign(std::move(text));
        FView.SetMainStatusText(DownloadCompletedText);
        return true;
    } catch (const std::exception &) {
        file.Discard();
        Fail();
        return false;
    }
}

void TPageFetcher::Fail() {
    Disconnect();
    FView.SetMainStatusText(FView.StopFlag() ? DownloadAbortedText : ConnectionErrorText);
    FView.ProcessMessages();
}

void TPageFetcher::Disconnect() {
    try {
        FClient.Disconnect();
    } catch (...) {
        // A connection that will not close cleanly is closed enough for the next request.
    }
}

void TPageFetcher::WorkBegin(std::int64_t expected) {
    FView.SetGaugeMax(GaugeNumber(expected));
    FView.SetGaugeValue(0);
    FView.ProcessMessages();
}

void TPageFetcher::Work(std::int64_t soFar) {
    if (FView.StopFlag())
        Disconnect();
    FView.SetGaugeValue(std::min(GaugeNumber(soFar), FView.GaugeMax()));
    FView.ProcessMessages();
}

void TPageFetcher::WorkEnd() {
    FView.SetGaugeValue(FView.GaugeMax());
    FView.ProcessMessages();
}
