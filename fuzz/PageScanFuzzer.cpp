// Result pages come from the network: the scan must end, stay within the page and cut exactly as
// the plain steps on an ordinary string would, whatever the bytes.
#include "search/ResultExtraction.h"
#include "tests/support/PlainScan.h"
#include "utils/TextLines.h"
#include "utils/TextUtils.h"
#include "utils/WorkBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text = JoinLinesCrLf(std::string_view(reinterpret_cast<const char *>(data), size));
    TWorkBuffer page{text};
    std::string oracle = text;
    while (HasResultMarker(page)) {
        const std::size_t before = page.Size();
        const auto candidate = TakeNextCandidate(page, "http://images.google");
        const auto expected = PlainTake(oracle, "http://images.google");
        if (page.Size() >= before || page.View() != oracle || candidate.has_value() != expected.has_value())
            std::abort();
        if (candidate && (candidate->link != expected->link || candidate->title != expected->title ||
                          !StartsWithNoCase(candidate->link, "http://")))
            std::abort();
    }
    if (oracle.find("<li class=g") != std::string::npos)
        std::abort();
    HasNextPage(page);
    return 0;
}
