#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TWorkBuffer;

// One organic result cut out of a result page: the link as written in the page (minus one
// trailing slash) and its cleaned anchor text.
struct TCandidate {
    std::string link;
    std::string title;
};

// The markers of the engine's result pages. The loop and next-page tests are case-sensitive;
// ExtractBetween inside a candidate folds case.
inline constexpr std::string_view ResultMarker = "<li class=g";
inline constexpr std::string_view NextPageMarker = "</span>Next</a>";

// True while the page still holds a result opening (exact, case-sensitive).
bool HasResultMarker(TWorkBuffer &page);

// Consumes the front of the page up to the next result's "</a>" (or less when its markers are
// missing) and yields the candidate, or nothing when the result is skipped: a "b" among the
// opening tag's attributes, a link that is not http://, or one that starts with imagePrefix.
std::optional<TCandidate> TakeNextCandidate(TWorkBuffer &page, std::string_view imagePrefix);

// Scans the whole page: every candidate goes to onCandidate, in page order. Linear in the page.
void ScanResultPage(TWorkBuffer &page, std::string_view imagePrefix,
                    const std::function<void(const TCandidate &)> &onCandidate);

// The engine offers a further page when what is left of the page buffer holds its next link.
bool HasNextPage(TWorkBuffer &page);

// Anchor text to title: formatting tags dropped, six entities decoded, only printable ASCII kept,
// double spaces halved.
std::string CleanTitle(std::string_view anchorText);

// The link cut before the first "/" after its "http://" scheme marks (case-sensitive, as the
// table has always grouped sites).
std::string ExtractDomain(std::string_view link);
