#include "search/ResultExtraction.h"

#include "utils/TextUtils.h"
#include "utils/WorkBuffer.h"

#include <cstring>

namespace {

// The markers of one result, as ExtractBetween matches them: folded ones are stored upper-cased.
enum TMarkerId { ResultExact, ResultFolded, TagEnd, LinkStart, Quote, AnchorEnd, MarkerCount };

struct TMarker {
    std::string_view text;
    bool folded;
    std::size_t anchor; // index of a non-letter byte: memchr looks for it
};

constexpr TMarker Markers[MarkerCount] = {
    {ResultMarker, false, 0}, {"<LI CLASS=G", true, 0}, {">", true, 0},
    {"HREF=\"", true, 4},     {"\"", true, 0},          {"</A>", true, 0},
};

constexpr std::size_t npos = std::string_view::npos;

inline char FoldUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// First occurrence of marker in text. The anchor byte is found with memchr, so the search runs at
// memory speed and needs no setup per call, which matters on pages made of unclosed openings.
std::size_t Search(std::string_view text, const TMarker &marker) {
    const std::string_view m = marker.text;
    if (text.size() < m.size())
        return npos;
    const char *const begin = text.data();
    const char *const lastStart = begin + (text.size() - m.size());
    const char *p = begin + marker.anchor;
    for (;;) {
        const auto room = static_cast<std::size_t>(lastStart + marker.anchor + 1 - p);
        const auto *hit = static_cast<const char *>(std::memchr(p, m[marker.anchor], room));
        if (!hit)
            return npos;
        const char *start = hit - marker.anchor;
        std::size_t i = 0;
        if (marker.folded) {
            while (i < m.size() && FoldUpper(start[i]) == m[i])
                ++i;
        } else {
            while (i < m.size() && start[i] == m[i])
                ++i;
        }
        if (i == m.size())
            return static_cast<std::size_t>(start - begin);
        p = hit + 1;
    }
}

// ExtractBetween with offset 0 on the page buffer, with the markers' search results remembered
// for the whole scan: the first occurrence at or after a position stays valid until the buffer
// is consumed past it, and a missing marker stays missing. Every byte is therefore looked at a
// bounded number of times per marker, whatever the page holds. The scan must be the buffer's
// only consumer while it lives.
class TPageScan final {
public:
    explicit TPageScan(TWorkBuffer &page) : FPage(page) {}

    std::size_t Find(TMarkerId id) {
        TMemory &memory = FMemory[id];
        if (!memory.valid || FConsumed < memory.searchedFrom ||
            (memory.foundAt != npos && FConsumed > memory.foundAt)) {
            const std::size_t hit = Search(FPage.View(), Markers[id]);
            memory = {true, FConsumed, hit == npos ? npos : FConsumed + hit};
        }
        return memory.foundAt == npos ? npos : memory.foundAt - FConsumed;
    }

    std::string Extract(TMarkerId open, TMarkerId close) {
        const std::size_t openAt = Find(open);
        if (openAt == npos)
            return {};
        Consume(openAt + Markers[open].text.size());
        const std::size_t closeAt = Find(close);
        if (closeAt == npos)
            return {};
        std::string between(FPage.View().substr(0, closeAt));
        Consume(closeAt);
        return between;
    }

    std::optional<TCandidate> TakeNext(std::string_view imagePrefix);

private:
    void Consume(std::size_t count) {
        FPage.Consume(count);
        FConsumed += count;
    }

    struct TMemory {
        bool valid = false;
        std::size_t searchedFrom = 0; // consumed count when the search ran
        std::size_t foundAt = npos;   // consumed count at which the marker starts
    };

    TWorkBuffer &FPage;
    std::size_t FConsumed = 0;
    TMemory FMemory[MarkerCount];
};

std::optional<TCandidate> TPageScan::TakeNext(std::string_view imagePrefix) {
    // The engine marks its own boxes (news, videos, "people also ask") with attributes that
    // carry a "b"; plain organic results have none.
    const std::string attributes = Extract(ResultFolded, TagEnd);
    if (attributes.find('b') != std::string::npos)
        return std::nullopt;

    Extract(TagEnd, LinkStart);
    std::string link = Extract(LinkStart, Quote);
    if (!link.empty() && link.back() == '/')
        link.pop_back();
    const std::string anchorText = Extract(TagEnd, AnchorEnd);

    if (!StartsWithNoCase(link, "http://"))
        return std::nullopt;
    // An empty prefix would match every link; a build without one skips nothing.
    if (!imagePrefix.empty() && StartsWithNoCase(link, imagePrefix))
        return std::nullopt;
    return TCandidate{std::move(link), CleanTitle(anchorText)};
}

} // namespace

bool HasResultMarker(TWorkBuffer &page) {
    return page.Contains(ResultMarker);
}

std::optional<TCandidate> TakeNextCandidate(TWorkBuffer &page, std::string_view imagePrefix) {
    return TPageScan(page).TakeNext(imagePrefix);
}

void ScanResultPage(TWorkBuffer &page, std::string_view imagePrefix,
                    const std::function<void(const TCandidate &)> &onCandidate) {
    TPageScan scan(page);
    while (scan.Find(ResultExact) != npos) {
        if (std::optional<TCandidate> candidate = scan.TakeNext(imagePrefix))
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
