// Arbitrary bytes as a server's answer: the response reader, the framing, the cookie store and
// redirect resolution must fail cleanly (ENetError) and never crash or grow without bound.
#include "net/CookieStore.h"
#include "net/HttpClient.h"
#include "net/HttpResponseReader.h"
#include "net/HttpUrl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Serves the input in pieces of a size taken from the input itself, so buffer and line
// boundaries fall everywhere.
class TPieceSource final : public IByteSource {
public:
    TPieceSource(const char *data, std::size_t size, std::size_t step)
        : FData(data), FSize(size), FStep(step) {}
    std::size_t ReadSome(char *buffer, std::size_t size) override {
        const std::size_t n = std::min({size, FStep, FSize - FAt});
        std::copy(FData + FAt, FData + FAt + n, buffer);
        FAt += n;
        return n;
    }

private:
    const char *FData;
    std::size_t FSize;
    std::size_t FStep;
    std::size_t FAt = 0;
};

class TCountingSink final : public IBodySink {
public:
    void Write(const char *, std::size_t size) override { FBytes += size; }
    void WorkBegin(std::int64_t expected) override {
        if (expected < 0)
            __builtin_trap();
        FExpected = expected;
        FSoFar = 0;
    }
    void Work(std::int64_t soFar) override {
        // The running count only grows and never passes a counted size.
        if (soFar < FSoFar || (FExpected > 0 && soFar > FExpected))
            __builtin_trap();
        FSoFar = soFar;
    }
    void WorkEnd() override {}

private:
    std::size_t FBytes = 0;
    std::int64_t FExpected = 0;
    std::int64_t FSoFar = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t step = 1 + data[0] % 64 * (data[0] >= 128 ? 997 : 1);
    TPieceSource source(reinterpret_cast<const char *>(data) + 1, size - 1, step);
    THttpResponseReader reader(source);
    TCookieStore cookies;
    const THttpUrl base = ParseHttpUrl("http://www.example.com:8080/dir/page.php?q=1");
    try {
        // Several responses on one connection, as keep-alive would read them.
        for (int response = 0; response < 4; ++response) {
            const THttpResponseHead head = reader.ReadHead();
            for (const auto &[name, value] : head.headers) {
                if (name == "Set-Cookie" || name == "set-cookie2")
                    cookies.Store(value, base.host, base.directory, 1700000000);
                if (name == "Location") {
                    try {
                        (void)ResolveRedirect(base, value);
                    } catch (const ENetError &) {
                    }
                }
            }
            (void)cookies.CookieHeader("www.example.com", "/dir/", 1700000000);
            if (cookies.Size() > TCookieStore::MaxCookies)
                __builtin_trap();
            TCountingSink sink;
            reader.ReadBody(FramingOf(head), sink);
        }
    } catch (const ENetError &) {
    }
    return 0;
}
