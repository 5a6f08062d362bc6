// The scan of a result page must stay linear in the page: the 10 MB scan should take about ten
// times the 1 MB scan, also on hostile pages whose result openings never close.
#include "bench/ExtractBenchmarkCommon.h"
#include "search/ResultExtraction.h"
#include "utils/TextUtils.h"
#include "utils/WorkBuffer.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t MB = 1000 * 1000;

// One organic result as the engine marks it up, with the formatting and entities CleanTitle meets.
std::string RealisticBlock(std::size_t n) {
    const std::string host = "www.forum" + std::to_string(n % 5000) + ".example";
    return "<li class=g><h3 class=\"r\"><a href=\"http://" + host +
           "/showthread.php?t=12&amp;page=2\" onmousedown=\"return rwt(this,'','','','1')\">Car "
           "<em>parts</em> "
           "&amp; <b>tuning</b> &quot;forum&quot; - Powered by vBulletin</a></h3><div class=\"s\"><div "
           "class=\"f "
           "kv\"><cite>" +
           host +
           "/showthread.php</cite></div><span class=\"st\">Posting Rules. You may post new threads. [IMG] "
           "code is "
           "<b>On</b>. HTML code is Off. Forum Rules. All times are GMT.</span></div></li>\r\n";
}

std::string RealisticPage(std::size_t size) {
    std::string page = "<html><head><title>forum - Search</title></head><body><ol>\r\n";
    for (std::size_t n = 0; page.size() < size; ++n)
        page += RealisticBlock(n);
    return page + "</ol><span class=\"csb\"></span>Next</a></body></html>\r\n";
}

// Result openings whose closing markers never come: no ">", no link, no "</a>".
std::string OpeningsPage(std::size_t size) {
    std::string page;
    page.reserve(size);
    while (page.size() < size)
        page += "<li class=g";
    return page;
}

// Openings with a link that never ends: every extraction after the first finds its start only.
std::string UnclosedLinksPage(std::size_t size) {
    std::string page;
    page.reserve(size);
    while (page.size() < size)
        page += "<li class=g><a href=\"http://x.example/";
    return page;
}

std::size_t Scan(TWorkBuffer &page) {
    std::size_t found = 0;
    ScanResultPage(page, "http://images.google", [&](const TCandidate &candidate) {
        found += ExtractDomain(candidate.link).size() + candidate.title.size();
    });
    return found + (HasNextPage(page) ? 1 : 0);
}

// Best-of-runs time of the scan alone: the page buffer is filled before the clock starts, as the
// driver moves the downloaded text into it without a copy.
double ScanSeconds(const std::string &text, int runs, std::size_t &sink) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        TWorkBuffer page{text};
        best = std::min(best, BestSeconds(1, [&] { sink += Scan(page); }));
    }
    return best;
}

void Report(const char *name, std::string (*makePage)(std::size_t)) {
    const std::string small = makePage(MB);
    const std::string large = makePage(10 * MB);
    std::size_t sink = 0;
    const double tSmall = ScanSeconds(small, 9, sink);
    const double tLarge = ScanSeconds(large, 5, sink);
    std::printf(
        "%-24s 1 MB: %8.2f ms (%6.0f MB/s)   10 MB: %8.2f ms (%6.0f MB/s)   ratio 10/1: %5.2f  (%zu)\n", name,
        tSmall * 1e3, small.size() / 1e6 / tSmall, tLarge * 1e3, large.size() / 1e6 / tLarge, tLarge / tSmall,
        sink % 10);
}

} // namespace

int main() {
    Report("realistic results", RealisticPage);
    Report("openings, never closed", OpeningsPage);
    Report("links, never closed", UnclosedLinksPage);
    return 0;
}
