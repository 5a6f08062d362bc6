// Result pages come from the network: the scan must end, stay within the page and cut exactly as
// the plain steps on an ordinary string would, whatever the bytes.
#include "search/ResultExtraction.h"
#include "utils/TextLines.h"
#include "utils/TextUtils.h"
#include "utils/WorkBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string OracleExtract(const std::string &open, const std::string &close, std::string &buffer) {
    const std::size_t openAt = AsciiUpper(buffer).find(AsciiUpper(open));
    if (openAt == std::string::npos)
        return {};
    buffer.erase(0, openAt + open.size());
    const std::size_t closeAt = AsciiUpper(buffer).find(AsciiUpper(close));
    if (closeAt == std::string::npos)
        return {};
    std::string result = buffer.substr(0, closeAt);
    buffer.erase(0, closeAt);
    return result;
}

void OracleTake(std::string &page) {
    if (OracleExtract("<li class=g", ">", page).find('b') != std::string::npos)
        return;
    OracleExtract(">", "href=\"", page);
    OracleExtract("href=\"", "\"", page);
    OracleExtract(">", "</a>", page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text = JoinLinesCrLf(std::string_view(reinterpret_cast<const char *>(data), size));
    TWorkBuffer page{text};
    std::string oracle = text;
    while (HasResultMarker(page)) {
        const std::size_t before = page.Size();
        const auto candidate = TakeNextCandidate(page, "http://images.google");
        OracleTake(oracle);
        if (page.Size() >= before || page.View() != oracle)
            std::abort();
        if (candidate &&
            (!StartsWithNoCase(candidate->link, "http://") || ExtractDomain(candidate->link).empty()))
            std::abort();
    }
    if (oracle.find("<li class=g") != std::string::npos)
        std::abort();
    HasNextPage(page);
    return 0;
}
