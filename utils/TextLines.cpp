#include "utils/TextLines.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TFileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

std::string_view UpToNul(std::string_view data) {
    const std::size_t nul = data.find('\0');
    return nul == std::string_view::npos ? data : data.substr(0, nul);
}

const char *LineEnd(const char *p, const char *end) {
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Calls onLine for each line of data, with the conventions above.
template <typename F> void ForEachLine(std::string_view data, F onLine) {
    data = UpToNul(data);
    const char *p = data.data();
    const char *const end = p + data.size();
    while (p < end) {
        const char *lineEnd = LineEnd(p, end);
        onLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        if (lineEnd == end)
            return;
        p = lineEnd + 1;
        if (*lineEnd == '\r' && p < end && *p == '\n')
            ++p;
    }
}

struct TFd {
    int fd;
    explicit TFd(int descriptor) : fd(descriptor) {}
    ~TFd() {
        if (fd >= 0)
            close(fd);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
};

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
    const TFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0)
        throw EFileError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    struct stat status {};
    if (fstat(file.fd, &status) != 0)
        throw EFileError("Cannot read file \"" + path + "\": " + std::strerror(errno));
    const bool regular = S_ISREG(status.st_mode);
    if (regular && static_cast<std::uint64_t>(status.st_size) > maxBytes)
        throw EFileError("File \"" + path + "\" is too large");

    // Sized from the file (one byte more, to see the end in the same read): files run to
    // megabytes, and growing a string piece by piece would copy them several times over.
    std::string data(regular ? static_cast<std::size_t>(status.st_size) + 1 : 65536, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == data.size()) {
            if (size > maxBytes)
                throw EFileError("File \"" + path + "\" is too large");
            data.resize(std::min(std::max<std::size_t>(size * 2, 65536), maxBytes + 1));
        }
        const ssize_t got = read(file.fd, data.data() + size, data.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw EFileError("Cannot read file \"" + path + "\": " + std::strerror(errno));
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    if (size > maxBytes)
        throw EFileError("File \"" + path + "\" is too large");
    data.resize(size);
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
