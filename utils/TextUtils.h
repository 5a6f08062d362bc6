#pragma once

#include <string>
#include <string_view>

// Small text helpers on single-byte (Windows-1252) text. Case folding touches only the ASCII
// letters, as everywhere in this program.

inline char AsciiUpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char AsciiLowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Replaces every occurrence of from, left to right, never looking again at inserted text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Removes leading and trailing bytes 0x00 to 0x20.
std::string TrimControl(std::string_view text);
// Removes leading and trailing blanks and tabs, as header and INI values are read.
std::string_view TrimBlanks(std::string_view text);

// The value of a hexadecimal digit (either case), or -1.
int HexDigitValue(char c);
