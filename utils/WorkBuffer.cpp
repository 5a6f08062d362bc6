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

void TWorkBuffer::Consume(std::size_t count) { FStart += std::min(count, Size()); }

std::size_t TWorkBuffer::Find(std::string_view marker) {
    const std::size_t hit = FindAbsolute(marker, false);
    return hit == npos ? npos : hit - FStart;
}

std::size_t TWorkBuffer::FindFolded(std::string_view marker) {
    const std::string folded = AsciiUpper(marker);
    const std::size_t hit = FindAbsolute(folded, true);
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
    auto memory = std::find_if(FMemory.begin(), FMemory.end(), [&](const TSearchMemory &m) {
        return m.folded == folded && m.marker == marker;
    });
    if (memory != FMemory.end() && FStart >= memory->searchedFrom &&
        (memory->foundAt == npos || FStart <= memory->foundAt))
        return memory->foundAt;

    const std::size_t hit = SearchFrom(folded ? FoldedText() : FText, FStart, marker);
    if (memory == FMemory.end()) {
        // A scan uses a handful of distinct markers; the list stays tiny.
        FMemory.push_back({std::string(marker), folded, FStart, hit});
    } else {
        memory->searchedFrom = FStart;
        memory->foundAt = hit;
    }
    return hit;
}
