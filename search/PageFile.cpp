#include "search/PageFile.h"

#include "utils/TextLines.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t BufferSize = 64 * 1024;

} // namespace

std::string ReadPageFile(const std::string &path, std::size_t maxBytes) {
    return ReadFileLinesJoined(path, maxBytes);
}

TDownloadFile::TDownloadFile(const std::string &path, std::size_t maxBytes)
    : FPath(path), FMaxBytes(maxBytes), FBuffer(std::make_unique_for_overwrite<char[]>(BufferSize)) {
    FFd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FFd < 0)
        throw EFileError("Cannot create file \"" + path + "\": " + std::strerror(errno));
    setp(FBuffer.get(), FBuffer.get() + BufferSize);
}

TDownloadFile::~TDownloadFile() {
    Discard();
}

void TDownloadFile::Close() {
    if (FFd < 0)
        return;
    try {
        Flush();
    } catch (...) {
        close(FFd);
        FFd = -1;
        throw;
    }
    const int result = close(FFd);
    FFd = -1;
    if (result != 0)
        throw EFileError("Cannot write file \"" + FPath + "\": " + std::strerror(errno));
}

void TDownloadFile::Discard() noexcept {
    if (FFd >= 0)
        close(FFd);
    FFd = -1;
}

void TDownloadFile::WriteAll(const char *data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(FFd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw EFileError("Cannot write file \"" + FPath + "\": " + std::strerror(errno));
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void TDownloadFile::CheckRoom(std::size_t more) {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    if (pending > FMaxBytes - FWritten || more > FMaxBytes - FWritten - pending) {
        FTooLarge = true;
        throw EFileError("File \"" + FPath + "\" is too large");
    }
}

void TDownloadFile::Flush() {
    CheckRoom(0);
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(FBuffer.get(), FBuffer.get() + BufferSize);
    if (pending > 0)
        WriteAll(FBuffer.get(), pending);
    FWritten += pending;
}

std::streamsize TDownloadFile::xsputn(const char *data, std::streamsize count) {
    if (FFd < 0 || count < 0)
        return 0;
    const auto size = static_cast<std::size_t>(count);
    CheckRoom(size);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(size));
        return count;
    }
    Flush();
    if (size >= BufferSize) {
        WriteAll(data, size);
        FWritten += size;
    } else {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(size));
    }
    return count;
}

TDownloadFile::int_type TDownloadFile::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
}

int TDownloadFile::sync() {
    if (FFd < 0)
        return -1;
    Flush();
    return 0;
}
