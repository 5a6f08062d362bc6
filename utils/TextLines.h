#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Line conventions shared by every file reader: a line ends at CR, LF or CR LF, reading stops at
// the first NUL byte, and lines written end with CR LF.

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Files larger than this are refused by the readers below, unless the caller passes its own limit.
inline constexpr std::size_t DefaultMaxFileBytes = 64u << 20;

std::vector<std::string> SplitLines(std::string_view data);
// The lines of data, each followed by CR LF: the text a reader joins from a file.
std::string JoinLinesCrLf(std::string_view data);
std::string JoinLinesCrLf(const std::vector<std::string> &lines);

// Whole-file helpers; they throw EFileError when the file cannot be opened, read or written, or
// is larger than maxBytes.
std::string ReadFileBytes(const std::string &path, std::size_t maxBytes = DefaultMaxFileBytes);
std::vector<std::string> ReadFileLines(const std::string &path, std::size_t maxBytes = DefaultMaxFileBytes);
std::string ReadFileLinesJoined(const std::string &path, std::size_t maxBytes = DefaultMaxFileBytes);
void WriteFileBytes(const std::string &path, std::string_view bytes);
void WriteFileLines(const std::string &path, const std::vector<std::string> &lines);
