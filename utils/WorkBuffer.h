#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A text that is consumed from the front, as ExtractBetween and the page scan do.
//
// Consuming only moves a start offset, so nothing is copied per call. Marker searches remember
// where they last looked: the first occurrence of a marker at or after a position p is the same
// for every later start up to that occurrence, and a marker missing after p is missing after any
// later start. A whole scan therefore reads each byte a bounded number of times per marker, even
// on pages whose markers never find their partners.
class TWorkBuffer final {
public:
    TWorkBuffer() = default;
    explicit TWorkBuffer(std::string text);

    // The whole text again, every search memory forgotten.
    void Assign(std::string text);

    std::string_view View() const { return std::string_view(FText).substr(FStart); }
    std::size_t Size() const { return FText.size() - FStart; }
    bool Empty() const { return Size() == 0; }
    std::string ToString() const { return std::string(View()); }

    // Offset of the first occurrence of marker in what remains, or npos. An empty marker is found
    // at offset 0. FindFolded folds the ASCII letters a to z to upper case on both sides.
    std::size_t Find(std::string_view marker);
    std::size_t FindFolded(std::string_view marker);
    bool Contains(std::string_view marker) { return Find(marker) != npos; }

    // Drops count characters from the front (fewer when less remains).
    void Consume(std::size_t count);

    static constexpr std::size_t npos = std::string_view::npos;

private:
    struct TSearchMemory {
        std::string key;    // as the caller passed it
        std::string marker; // as searched: upper-cased for folded searches
        bool folded = false;
        std::size_t searchedFrom = 0; // absolute position the last scan started at
        std::size_t foundAt = npos;   // absolute position it found, npos when absent
        std::size_t anchor = 0;       // the marker byte memchr looks for
        bool inFoldedCopy = false;    // searched in FFolded rather than FText
    };

    std::size_t FindAbsolute(std::string_view marker, bool folded);
    const std::string &FoldedText();

    std::string FText;
    std::string FFolded; // upper-cased copy, built for folded markers made only of letters
    bool FFoldedReady = false;
    std::size_t FStart = 0;
    std::vector<TSearchMemory> FMemory;
};
