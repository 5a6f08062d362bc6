#include "utils/WorkBuffer.h"

#include "utils/TextUtils.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// First occurrence of marker in text at or after from. memchr finds candidates for one byte of
// the marker that folding cannot change (its anchor), then the rest is compared in place: no
// setup per call, which matters when a scan searches thousands of times over short distances.
// Markers are short constants of the program, so the compare stays a small bounded cost.
std::size_t SearchFrom(std::string_view text, std::size_t from, std::string_view marker, bool folded,
                       std::size_t anchor) {
    if (marker.empty())
        return from;
    if (from > text.size() || text.size() - from < marker.size())
        return TWorkBuffer::npos;
    const char *const begin = text.data();
    const char *const anchorEnd = begin + (text.size() - marker.size()) + anchor + 1;
    const char *p = begin + from + anchor;
    while (p < anchorEnd) {
        // Scans often search again right where the marker stands; skip memchr's setup then.
        const auto *hit = *p == marker[anchor]
                              ? p
                              : static_cast<const char *>(std::memchr(p, marker[anchor], anchorEnd - p));
        if (!hit)
            return TWorkBuffer::npos;
        const char *start = hit - anchor;
        std::size_t i = 0;
        if (folded) {
            while (i < marker.size() && AsciiUpperChar(start[i]) == marker[i])
                ++i;
        } else {
            while (i < marker.size() && start[i] == marker[i])
                ++i;
        }
        if (i == marker.size())
            return static_cast<std::size_t>(start - begin);
        p = hit + 1;
    }
    return TWorkBuffer::npos;
}

} // namespace

TWorkBuffer::TWorkBuffer(std::string text) : FText(std::move(text)) {}

void TWorkBuffer::Assign(std::string text) {
    FText = std::move(text);
    FFolded.clear();
    FFoldedReady = false;
    FStart = 0;
    FMemory.clear();
}

void TWorkBuffer::Consume(std::size_t count) {
    FStart += std::min(count, Size());
}

std::size_t TWorkBuffer::Find(std::string_view marker) {
    const std::size_t hit = FindAbsolute(marker, false);
    return hit == npos ? npos : hit - FStart;
}

std::size_t TWorkBuffer::FindFolded(std::string_view marker) {
    const std::size_t hit = FindAbsolute(marker, true);
    return hit == npos ? npos : hit - FStart;
}

const std::string &TWorkBuffer::FoldedText() {
    if (!FFoldedReady) {
        FFolded = AsciiUpper(FText);
        FFoldedReady = true;
    }
    return FFolded;
}

std::size_t TWorkBuffer::FindAbsolute(std::string_view marker, bool folded) {
    // Keyed by the marker as the caller spells it: a plain byte compare, and two spellings of one
    // folded marker simply keep two memories that are both right.
    auto memory = std::find_if(FMemory.begin(), FMemory.end(),
                               [&](const TSearchMemory &m) { return m.folded == folded && m.key == marker; });
    if (memory == FMemory.end()) {
        // A scan uses a handful of distinct markers; the list stays tiny.
        TSearchMemory entry{std::string(marker),
                            folded ? AsciiUpper(marker) : std::string(marker),
                            folded,
                            0,
                            npos,
                            0,
                            false};
        // A folded marker made of letters only has no byte that folding leaves alone: it is
        // searched in an upper-cased copy of the text instead.
        const auto anchor =
            std::find_if(entry.marker.begin(), entry.marker.end(), [](char c) { return !IsAsciiLetter(c); });
        entry.inFoldedCopy = folded && anchor == entry.marker.end();
        entry.anchor =
            entry.inFoldedCopy || !folded ? 0 : static_cast<std::size_t>(anchor - entry.marker.begin());
        FMemory.push_back(std::move(entry));
        memory = std::prev(FMemory.end());
    } else if (FStart >= memory->searchedFrom && (memory->foundAt == npos || FStart <= memory->foundAt)) {
        return memory->foundAt;
    }
    memory->searchedFrom = FStart;
    if (memory->inFoldedCopy)
        memory->foundAt = SearchFrom(FoldedText(), FStart, memory->marker, false, 0);
    else
        memory->foundAt = SearchFrom(FText, FStart, memory->marker, folded, memory->anchor);
    return memory->foundAt;
}
