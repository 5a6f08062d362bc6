#include "utils/WorkBuffer.h"

#include "utils/TextUtils.h"

#include <algorithm>
#include <cstring>

namespace {

// memmem is glibc's two-way search: linear in the text, whatever the marker.
std::size_t SearchFrom(const std::string &text, std::size_t from, std::string_view marker) {
    if (marker.empty())
        return from;
    if (from >= text.size() || text.size() - from < marker.size())
        return TWorkBuffer::npos;
    const void *hit = memmem(text.data() + from, text.size() - from, marker.data(), marker.size());
    return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text.data()) : TWorkBuffer::npos;
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
    // Folded entries keep their marker upper-cased; compare without allocating a folded copy.
    auto memory = std::find_if(FMemory.begin(), FMemory.end(), [&](const TSearchMemory &m) {
        return m.folded == folded && (folded ? EqualsNoCase(m.marker, marker) : m.marker == marker);
    });
    if (memory == FMemory.end()) {
        // A scan uses a handful of distinct markers; the list stays tiny.
        FMemory.push_back({folded ? AsciiUpper(marker) : std::string(marker), folded, 0, npos});
        memory = std::prev(FMemory.end());
    } else if (FStart >= memory->searchedFrom && (memory->foundAt == npos || FStart <= memory->foundAt)) {
        return memory->foundAt;
    }
    memory->searchedFrom = FStart;
    memory->foundAt = SearchFrom(folded ? FoldedText() : FText, FStart, memory->marker);
    return memory->foundAt;
}
