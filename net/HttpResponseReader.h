#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where response bytes come from: the connection, or a buffer for tests and the fuzzer.
class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Reads up to size bytes (size > 0); 0 only when the peer has closed. Throws on failure.
    virtual std::size_t ReadSome(char *buffer, std::size_t size) = 0;
};

// Status line and headers of one response.
struct THttpResponseHead {
    std::string statusLine;
    int code = -1;
    std::vector<std::pair<std::string, std::string>> headers; // in order received, names as sent

    // The first header of that name (letter case ignored), or nullptr.
    const std::string *Find(std::string_view name) const;
};

// How a response's body ends.
struct TBodyFraming {
    enum class EKind { None, Counted, Chunked, UntilClose };
    EKind kind = EKind::None;
    std::int64_t length = 0; // Counted only
};

// Receives body bytes and the progress of reading them.
class IBodySink {
public:
    virtual ~IBodySink() = default;
    virtual void Write(const char *data, std::size_t size) = 0;
    virtual void WorkBegin(std::int64_t expected) = 0;
    virtual void Work(std::int64_t soFar) = 0;
    virtual void WorkEnd() = 0;
};

// Reads responses from a source with bounded memory: one fixed buffer, lines of at most
// MaxLineLength bytes, a bounded header block. Every malformed response throws ENetError.
class THttpResponseReader final {
public:
    static constexpr std::size_t MaxLineLength = 16384;
    static constexpr std::size_t MaxHeaderCount = 256;
    static constexpr std::size_t MaxHeaderBytes = 256 * 1024;
    static constexpr std::size_t BufferSize = 128 * 1024;
    static constexpr int MaxInterimResponses = 32;

    explicit THttpResponseReader(IByteSource &source);

    // Reads one status line with its headers; interim 100 responses are skipped.
    THttpResponseHead ReadHead();
    // Delivers the body in pieces to sink, raising one progress cycle per counted body, per
    // chunk, or for a body read until the peer closes. An empty body raises none.
    void ReadBody(const TBodyFraming &framing, IBodySink &sink);
    // Bytes received past the end of the last response.
    bool HasBufferedBytes() const { return FStart != FEnd; }

private:
    std::string ReadLine();
    bool Fill();
    void ReadHeaderBlock(THttpResponseHead &head);
    void ReadCounted(std::int64_t length, IBodySink &sink);
    void ReadChunked(IBodySink &sink);
    void ReadUntilClose(IBodySink &sink);

    IByteSource &FSource;
    std::vector<char> FBuffer;
    std::size_t FStart = 0;
    std::size_t FEnd = 0;
};

// Framing from the headers: Content-Length above 0, else chunked coding, else an empty body for
// Content-Length 0 or a status without a body (1xx, 204, 304), else until the peer closes.
// Throws ENetError for a Content-Length that is not one non-negative decimal number.
TBodyFraming FramingOf(const THttpResponseHead &head);

// The status code: the second space-separated word of the status line, -1 unless a number.
int StatusCodeOf(std::string_view statusLine);
