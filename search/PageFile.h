#pragma once

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

// Result pages are a few hundred kilobytes; anything far larger is not a page worth scanning.
inline constexpr std::size_t MaxPageBytes = 32u << 20;

// A saved result page as the scan sees it: lines joined with CR LF, cut at the first NUL.
// Throws EFileError when the file cannot be read or holds more than maxBytes.
std::string ReadPageFile(const std::string &path, std::size_t maxBytes = MaxPageBytes);

// The download file: a stream buffer that creates (or truncates) the file and refuses to grow it
// beyond maxBytes, so a hostile server cannot fill the disk. Refused writes throw EFileError,
// which the owning std::ostream turns into its bad state (and rethrows when asked to).
class TDownloadFile final : public std::streambuf {
public:
    // Throws EFileError when the file cannot be created.
    TDownloadFile(const std::string &path, std::size_t maxBytes);
    ~TDownloadFile() override;
    TDownloadFile(const TDownloadFile &) = delete;
    TDownloadFile &operator=(const TDownloadFile &) = delete;

    // Flushes and closes; throws EFileError on a write error. Later calls do nothing.
    void Close();
    // Closes without writing what is buffered: for a download that failed anyway.
    void Discard() noexcept;
    bool TooLarge() const { return FTooLarge; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char *data, std::streamsize count) override;
    int sync() override;

private:
    void CheckRoom(std::size_t more);
    void Flush();
    void WriteAll(const char *data, std::size_t size);

    std::string FPath;
    std::size_t FMaxBytes;
    std::size_t FWritten = 0; // bytes already written to the file
    int FFd = -1;
    bool FTooLarge = false;
    std::unique_ptr<char[]> FBuffer;
};
