#pragma once

#include "platform/MessagePump.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class IClock;

// Any failed call: no connection, a broken transfer, a malformed response, a disconnect.
class ENetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A response whose status is an error: carries the code, the status line and the error body.
class EHttpError : public ENetError {
public:
    EHttpError(int code, std::string statusLine, std::string body);
    int Code() const { return FCode; }
    const std::string &StatusLine() const { return FStatusLine; }
    const std::string &Body() const { return FBody; }

private:
    int FCode;
    std::string FStatusLine;
    std::string FBody;
};

enum class TWorkMode { Read, Write };

using TFormField = std::pair<std::string, std::string>; // name, value
using TFormFields = std::vector<TFormField>;

// The program's HTTP/1.1 client. Its wire profile (request line, headers and their order, form
// body, cookies, redirects) is fixed: servers identify the client by it. Calls block the calling
// thread but call the message pump while they wait, so window events keep flowing; any of them
// may call Disconnect() to end the blocked call with an error.
class THttpClient final {
public:
    static constexpr int DefaultConnectTimeoutMs = 120000;

    explicit THttpClient(IClock &clock, int connectTimeoutMs = DefaultConnectTimeoutMs);
    ~THttpClient();
    THttpClient(const THttpClient &) = delete;
    THttpClient &operator=(const THttpClient &) = delete;

    // Called while a call waits: every 125 ms while connecting, after each 250 ms without data.
    void SetMessagePump(TMessagePump pump);

    // GET url; the final response's body is written to out. Throws ENetError / EHttpError.
    void Get(const std::string &url, std::ostream &out);
    // Multipart form POST (sent as HTTP/1.0); returns the final response's body, which may be at
    // most 64 MiB (a larger one fails the call). Throws.
    std::string Post(const std::string &url, const TFormFields &form);
    // Closes the connection; harmless when none is open; ends a blocked call with an error.
    void Disconnect();

    void SetPragma(std::string value);
    void SetCacheControl(std::string value);

    // True while a call of this client is under way; a second call is refused meanwhile.
    bool Busy() const;
    // The status code and line of the last call's final response that reached the caller;
    // -1 and empty before any or after a failed call.
    int LastStatusCode() const;
    std::string LastStatusLine() const;

    // Progress of response bodies (and of a post's body, in write mode).
    std::function<void(TWorkMode mode, std::int64_t expected)> OnWorkBegin;
    std::function<void(TWorkMode mode, std::int64_t soFar)> OnWork;
    std::function<void(TWorkMode mode)> OnWorkEnd;

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};
