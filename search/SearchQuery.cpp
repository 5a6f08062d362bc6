#include "search/SearchQuery.h"

#include "utils/TextUtils.h"

std::string EncodeQueryText(std::string_view text) {
    return ReplaceAll(ReplaceAll(text, " ", "+"), "\"", "%22");
}

std::string FootprintForType(int typeIndex) {
    switch (typeIndex) {
    case 0:
        return "\"[IMG] code is on\"";
    case 1:
        return "\"HTML code is on\"";
    default:
        return {};
    }
}

int ItemLimitForIndex(int itemsIndex) {
    // No selection (-1) counts as "All Items" rather than as a limit below zero.
    return itemsIndex > 0 ? 100 * itemsIndex : 0;
}

std::string ResultPageUrl(std::string_view host, std::string_view encodedKeyword,
                          std::string_view encodedFootprint, int pageIndex) {
    std::string url = "http://";
    url.append(host);
    url.append("/search?q=%22");
    url.append(encodedKeyword);
    url.append("%22+");
    url.append(encodedFootprint);
    url.append("&num=100&start=");
    url.append(std::to_string(100LL * pageIndex));
    return url;
}
