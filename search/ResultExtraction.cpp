#include "search/ResultExtraction.h"

#include "utils/TextUtils.h"
#include "utils/UUtils.h"
#include "utils/WorkBuffer.h"

namespace {

constexpr std::string_view LinkStart = "href=\"";

} // namespace

bool HasResultMarker(TWorkBuffer &page) {
    return page.Contains(ResultMarker);
}

std::optional<TCandidate> TakeNextCandidate(TWorkBuffer &page, std::string_view imagePrefix) {
    // The engine marks its own boxes (news, videos, "people also ask") with attributes that
    // carry a "b"; plain organic results have none.
    const std::string attributes = ExtractBetween(ResultMarker, ">", 0, page);
    if (attributes.find('b') != std::string::npos)
        return std::nullopt;

    ExtractBetween(">", LinkStart, 0, page);
    std::string link = ExtractBetween(LinkStart, "\"", 0, page);
    if (!link.empty() && link.back() == '/')
        link.pop_back();
    const std::string anchorText = ExtractBetween(">", "</a>", 0, page);

    if (!StartsWithNoCase(link, "http://"))
        return std::nullopt;
    // An empty prefix would match every link; a build without one skips nothing.
    if (!imagePrefix.empty() && StartsWithNoCase(link, imagePrefix))
        return std::nullopt;
    return TCandidate{std::move(link), CleanTitle(anchorText)};
}

void ScanResultPage(TWorkBuffer &page, std::string_view imagePrefix,
                    const std::function<void(const TCandidate &)> &onCandidate) {
    while (HasResultMarker(page)) {
        if (std::optional<TCandidate> candidate = TakeNextCandidate(page, imagePrefix))
            onCandidate(*candidate);
    }
}

bool HasNextPage(TWorkBuffer &page) {
    return page.Contains(NextPageMarker);
}

std::string CleanTitle(std::string_view anchorText) {
    static constexpr std::string_view FormattingTags[] = {"<b>",       "</b>", "<br>", "<strong>",
                                                          "</strong>", "<em>", "</em>"};
    // Order matters: "&amp;lt;" must end as "&lt;" but "&amp;#39;" as an apostrophe.
    static constexpr std::pair<std::string_view, std::string_view> Entities[] = {
        {"&quot;", "\""}, {"&apos;", "'"}, {"&gt;", ">"}, {"&lt;", "<"}, {"&amp;", "&"}, {"&#39;", "'"}};

    std::string text(anchorText);
    for (std::string_view tag : FormattingTags)
        text = ReplaceAll(text, tag, "");
    for (const auto &[entity, character] : Entities)
        text = ReplaceAll(text, entity, character);

    std::string printable;
    printable.reserve(text.size());
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 32 && code <= 126)
            printable += c;
    }
    return ReplaceAll(printable, "  ", " ");
}

std::string ExtractDomain(std::string_view link) {
    // The scheme's slashes hide behind a placeholder so the cut finds the path's first slash.
    std::string text = ReplaceAll(link, "http://", "^%^");
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos)
        text.erase(slash);
    return ReplaceAll(text, "^%^", "http://");
}
