#include "net/HttpResponseReader.h"

#include "net/HttpClient.h"
#include "utils/TextUtils.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int64_t MaxContentLength = std::int64_t(1) << 52;
constexpr std::int64_t MaxChunkSize = std::int64_t(1) << 40;

[[noreturn]] void ClosedEarly() {
    throw ENetError("Connection closed gracefully.");
}

std::int64_t ParseContentLength(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 16)
        throw ENetError("Invalid Content-Length in response.");
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            throw ENetError("Invalid Content-Length in response.");
        value = value * 10 + (c - '0');
    }
    if (value > MaxContentLength)
        throw ENetError("Invalid Content-Length in response.");
    return value;
}

std::int64_t ParseChunkSize(std::string_view line) {
    line = TrimBlanks(line.substr(0, line.find(';')));
    if (line.empty())
        throw ENetError("Invalid chunk size in response.");
    std::int64_t size = 0;
    for (const char c : line) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            throw ENetError("Invalid chunk size in response.");
        size = size * 16 + digit;
        if (size > MaxChunkSize)
            throw ENetError("Invalid chunk size in response.");
    }
    return size;
}

} // namespace

const std::string *THttpResponseHead::Find(std::string_view name) const {
    for (const auto &[headerName, value] : headers)
        if (EqualsNoCase(headerName, name))
            return &value;
    return nullptr;
}

int StatusCodeOf(std::string_view statusLine) {
    const auto space = statusLine.find(' ');
    if (space == std::string_view::npos)
        return -1;
    std::string_view word = statusLine.substr(space + 1);
    word = word.substr(0, word.find(' '));
    if (word.empty() || word.size() > 9)
        return -1;
    int code = 0;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return -1;
        code = code * 10 + (c - '0');
    }
    return code;
}

TBodyFraming FramingOf(const THttpResponseHead &head) {
    std::int64_t length = -1;
    for (const auto &[name, value] : head.headers) {
        if (!EqualsNoCase(name, "Content-Length"))
            continue;
        const std::int64_t parsed = ParseContentLength(value);
        if (length >= 0 && parsed != length)
            throw ENetError("Conflicting Content-Length in response.");
        length = parsed;
    }
    TBodyFraming framing;
    if ((head.code >= 100 && head.code < 200) || head.code == 204 || head.code == 304)
        return framing;
    if (length > 0) {
        framing.kind = TBodyFraming::EKind::Counted;
        framing.length = length;
        return framing;
    }
    const std::string *encoding = head.Find("Transfer-Encoding");
    if (encoding && AsciiLower(*encoding).find("chunked") != std::string::npos)
        framing.kind = TBodyFraming::EKind::Chunked;
    else if (length < 0)
        framing.kind = TBodyFraming::EKind::UntilClose;
    return framing;
}

THttpResponseReader::THttpResponseReader(IByteSource &source) : FSource(source), FBuffer(BufferSize) {}

bool THttpResponseReader::Fill() {
    if (FStart == FEnd) {
        FStart = 0;
        FEnd = 0;
    } else if (FEnd == FBuffer.size()) {
        std::memmove(FBuffer.data(), FBuffer.data() + FStart, FEnd - FStart);
        FEnd -= FStart;
        FStart = 0;
    }
    const std::size_t got = FSource.ReadSome(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
    FEnd += got;
    return got > 0;
}

std::string THttpResponseReader::ReadLine() {
    std::size_t scanned = FStart;
    for (;;) {
        const char *begin = FBuffer.data();
        const void *found = std::memchr(begin + scanned, '\n', FEnd - scanned);
        if (found) {
            const std::size_t lf = static_cast<const char *>(found) - begin;
            std::size_t end = lf;
            if (end > FStart && FBuffer[end - 1] == '\r')
                --end;
            if (end - FStart > MaxLineLength)
                throw ENetError("Response line too long.");
            std::string line(begin + FStart, begin + end);
            FStart = lf + 1;
            return line;
        }
        // A CR may still be followed by its LF, hence the one byte of slack.
        if (FEnd - FStart > MaxLineLength + 1)
            throw ENetError("Response line too long.");
        const std::size_t offset = FEnd - FStart;
        if (!Fill())
            ClosedEarly();
        scanned = FStart + offset;
    }
}

void THttpResponseReader::ReadHeaderBlock(THttpResponseHead &head) {
    std::size_t total = 0;
    for (;;) {
        std::string line = ReadLine();
        if (line.empty())
            return;
        total += line.size();
        if (total > MaxHeaderBytes || head.headers.size() >= MaxHeaderCount)
            throw ENetError("Response headers too large.");
        if (line.front() == ' ' || line.front() == '\t') {
            // A folded line continues the previous header's value.
            if (head.headers.empty())
                throw ENetError("Malformed header line in response.");
            head.headers.back().second += ' ';
            head.headers.back().second += TrimBlanks(line);
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            throw ENetError("Malformed header line in response.");
        head.headers.emplace_back(std::string(TrimBlanks(std::string_view(line).substr(0, colon))),
                                  std::string(TrimBlanks(std::string_view(line).substr(colon + 1))));
    }
}

THttpResponseHead THttpResponseReader::ReadHead() {
    for (int interim = 0;; ++interim) {
        if (interim > MaxInterimResponses)
            throw ENetError("Too many interim responses.");
        THttpResponseHead head;
        head.statusLine = ReadLine();
        if (!StartsWithNoCase(head.statusLine, "HTTP/"))
            throw ENetError("Malformed status line in response.");
        head.code = StatusCodeOf(head.statusLine);
        ReadHeaderBlock(head);
        if (head.code != 100)
            return head;
    }
}

void THttpResponseReader::ReadBody(const TBodyFraming &framing, IBodySink &sink) {
    switch (framing.kind) {
    case TBodyFraming::EKind::None:
        return;
    case TBodyFraming::EKind::Counted:
        ReadCounted(framing.length, sink);
        return;
    case TBodyFraming::EKind::Chunked:
        ReadChunked(sink);
        return;
    case TBodyFraming::EKind::UntilClose:
        ReadUntilClose(sink);
        return;
    }
}

void THttpResponseReader::ReadCounted(std::int64_t length, IBodySink &sink) {
    sink.WorkBegin(length);
    std::int64_t done = 0;
    while (done < length) {
        if (FStart == FEnd && !Fill())
            ClosedEarly();
        const auto piece = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(FEnd - FStart), length - done));
        sink.Write(FBuffer.data() + FStart, piece);
        FStart += piece;
        done += static_cast<std::int64_t>(piece);
        sink.Work(done);
    }
    sink.WorkEnd();
}

void THttpResponseReader::ReadChunked(IBodySink &sink) {
    for (;;) {
        const std::int64_t size = ParseChunkSize(ReadLine());
        if (size == 0)
            break;
        ReadCounted(size, sink);
        if (!ReadLine().empty())
            throw ENetError("Malformed chunk in response.");
    }
    // Trailer fields are read and dropped.
    THttpResponseHead trailers;
    ReadHeaderBlock(trailers);
}

void THttpResponseReader::ReadUntilClose(IBodySink &sink) {
    sink.WorkBegin(0);
    std::int64_t done = 0;
    for (;;) {
        if (FStart == FEnd && !Fill())
            break;
        const std::size_t piece = FEnd - FStart;
        sink.Write(FBuffer.data() + FStart, piece);
        FStart = FEnd;
        done += static_cast<std::int64_t>(piece);
        sink.Work(done);
    }
    sink.WorkEnd();
}
