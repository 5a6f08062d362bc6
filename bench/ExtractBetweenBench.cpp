// ExtractBetween over a whole buffer must cost time linear in the buffer's size: the 10 MB scan
// should take about ten times the 1 MB scan, also when markers lack their partners.
#include "bench/ExtractBenchmarkCommon.h"
#include "utils/UUtils.h"
#include "utils/WorkBuffer.h"

#include <cstdio>
#include <string>

namespace {

// size bytes holding `pairs` tag pairs spread evenly, padding in between.
std::string TaggedText(std::size_t size, std::size_t pairs) {
    const std::string pair = "<td class=x>value</td>";
    const std::size_t gap = size / pairs - pair.size();
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < pairs; ++i) {
        text.append(gap, 'p');
        text.append(pair);
    }
    return text;
}

// Openings only: every closing search fails.
std::string UnpairedText(std::size_t size) {
    std::string text;
    text.reserve(size);
    while (text.size() + 11 <= size)
        text.append("<td class=x");
    return text;
}

std::size_t ScanAll(const std::string &text, const char *open, const char *close) {
    TWorkBuffer buffer{text};
    std::size_t found = 0;
    while (buffer.Contains(open))
        found += ExtractBetween(open, close, 0, buffer).size() + 1;
    return found;
}

void Report(const char *name, const std::string &small, const std::string &large, const char *open,
            const char *close) {
    std::size_t sink = 0;
    const double tSmall = BestSeconds(5, [&] { sink += ScanAll(small, open, close); });
    const double tLarge = BestSeconds(3, [&] { sink += ScanAll(large, open, close); });
    std::printf("%-22s 1 MB: %8.2f ms   10 MB: %8.2f ms   ratio 10/1: %5.2f   %7.0f MB/s  (%zu)\n", name,
                tSmall * 1e3, tLarge * 1e3, tLarge / tSmall, large.size() / 1e6 / tLarge, sink % 10);
}

} // namespace

int main() {
    constexpr std::size_t MB = 1000 * 1000;
    // 50,000 pairs in 10 MB, and the same density in 1 MB.
    Report("tag pairs", TaggedText(MB, 5000), TaggedText(10 * MB, 50000), "<td class=x>", "</td>");
    Report("openings, no closing", UnpairedText(MB), UnpairedText(10 * MB), "<td class=x", ">");
    return 0;
}
