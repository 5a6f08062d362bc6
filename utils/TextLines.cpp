#include "utils/TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct TFileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

std::string_view UpToNul(std::string_view data) {
    const std::size_t nul = data.find('\0');
    return nul == std::string_view::npos ? data : data.substr(0, nul);
}

// Calls onLine for each line of data, with the conventions above.
template <typename F> void ForEachLine(std::string_view data, F onLine) {
    data = UpToNul(data);
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t end = data.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            onLine(data.substr(start));
            return;
        }
        onLine(data.substr(start, end - start));
        start = end + 1;
        if (data[end] == '\r' && start < data.size() && data[start] == '\n')
            ++start;
    }
}

} // namespace

std::vector<std::string> SplitLines(std::string_view data) {
    std::vector<std::string> lines;
    ForEachLine(data, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string JoinLinesCrLf(std::string_view data) {
    std::string joined;
    joined.reserve(data.size() + data.size() / 16 + 2);
    ForEachLine(data, [&](std::string_view line) {
        joined.append(line);
        joined.append("\r\n");
    });
    return joined;
}

std::string JoinLinesCrLf(const std::vector<std::string> &lines) {
    std::string joined;
    for (const std::string &line : lines) {
        joined.append(line);
        joined.append("\r\n");
    }
    return joined;
}

std::string ReadFileBytes(const std::string &path, std::size_t maxBytes) {
    TFile file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFileError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    std::string data;
    char chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        if (data.size() + n > maxBytes)
            throw EFileError("File \"" + path + "\" is too large");
        data.append(chunk, n);
        if (n < sizeof chunk)
            break;
    }
    if (std::ferror(file.get()))
        throw EFileError("Cannot read file \"" + path + "\"");
    return data;
}

std::vector<std::string> ReadFileLines(const std::string &path, std::size_t maxBytes) {
    return SplitLines(ReadFileBytes(path, maxBytes));
}

std::string ReadFileLinesJoined(const std::string &path, std::size_t maxBytes) {
    return JoinLinesCrLf(std::string_view(ReadFileBytes(path, maxBytes)));
}

void WriteFileBytes(const std::string &path, std::string_view bytes) {
    TFile file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw EFileError("Cannot create file \"" + path + "\": " + std::strerror(errno));
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw EFileError("Cannot write file \"" + path + "\"");
    if (std::fclose(file.release()) != 0)
        throw EFileError("Cannot write file \"" + path + "\"");
}

void WriteFileLines(const std::string &path, const std::vector<std::string> &lines) {
    WriteFileBytes(path, JoinLinesCrLf(lines));
}
