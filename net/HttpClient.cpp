#include "net/HttpClient.h"

#include "net/CookieStore.h"
#include "net/HttpResponseReader.h"
#include "net/HttpUrl.h"
#include "net/Socket.h"
#include "platform/Clock.h"
#include "utils/TextUtils.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <ostream>

namespace {

constexpr const char *UserAgent = "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)";
constexpr const char *AcceptTypes = "text/html, */*";
constexpr const char *DefaultContentType = "text/html";
// Requests within one call, the first included; a redirect answering the last one fails the call.
constexpr int RedirectMaximum = 15;
constexpr std::size_t MaxErrorBodyKept = 1024 * 1024;
constexpr std::size_t MaxPostResult = 64 * 1024 * 1024;

void AddHeader(std::string &request, const char *name, const std::string &value) {
    if (value.empty())
        return;
    request += name;
    request += ": ";
    request += value;
    request += "\r\n";
}

// Header values set by callers go out verbatim, minus anything that would end the line.
std::string WithoutLineBreaks(std::string value) {
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return value;
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

} // namespace

EHttpError::EHttpError(int code, std::string statusLine, std::string body)
    : ENetError(statusLine), FCode(code), FStatusLine(std::move(statusLine)), FBody(std::move(body)) {}

class THttpClient::TImpl final : public IWaitHooks {
public:
    TImpl(THttpClient &owner, IClock &clock, int connectTimeoutMs)
        : FOwner(owner), FClock(clock), FConnectTimeoutMs(connectTimeoutMs) {}

    void Perform(const std::string &url, const std::string *postBody, IBodySink &finalSink);
    std::string MultipartBoundary();
    void RefuseWhenBusy() const {
        if (FBusy)
            throw ENetError("The client is busy with another request.");
    }

    void Idle() override {
        if (FPump) {
            const TMessagePump pump = FPump; // the pump may replace itself
            pump();
        }
        CheckCancelled();
    }
    void CheckCancelled() override {
        if (FCancelled)
            throw ENetError("Disconnected.");
    }

    void Disconnect() {
        FConnection.reset();
        if (FBusy) {
            // The blocked call owns its socket and closes it as it unwinds; shutting it down here
            // wakes the wait without freeing a descriptor the call still polls.
            FCancelled = true;
            if (FActive)
                FActive->Shutdown();
        }
    }

    THttpClient &FOwner;
    IClock &FClock;
    int FConnectTimeoutMs;
    TMessagePump FPump;

    std::optional<TSocket> FConnection; // idle, kept alive for the next call
    std::string FConnectionHost;
    int FConnectionPort = 0;

    std::string FPragma;
    std::string FCacheControl;
    std::string FContentType = DefaultContentType;
    std::string FConnectionValue;
    TCookieStore FCookies;

    bool FBusy = false;
    bool FCancelled = false;
    int FLastStatusCode = -1;
    std::string FLastStatusLine;
    TSocket *FActive = nullptr;

    // Marks the client busy for one call and clears the call's traces on every way out.
    class TCallScope final {
    public:
        explicit TCallScope(TImpl &impl) : FImpl(impl) {
            impl.FBusy = true;
            impl.FCancelled = false;
            impl.FLastStatusCode = -1;
            impl.FLastStatusLine.clear();
        }
        ~TCallScope() {
            FImpl.FBusy = false;
            FImpl.FCancelled = false;
            FImpl.FActive = nullptr;
        }
        TCallScope(const TCallScope &) = delete;
        TCallScope &operator=(const TCallScope &) = delete;

    private:
        TImpl &FImpl;
    };

    // Publishes the socket a call is blocked on, for Disconnect(), while it is alive.
    class TActiveSocket final {
    public:
        TActiveSocket(TImpl &impl, TSocket &socket) : FImpl(impl) { impl.FActive = &socket; }
        ~TActiveSocket() { FImpl.FActive = nullptr; }
        TActiveSocket(const TActiveSocket &) = delete;
        TActiveSocket &operator=(const TActiveSocket &) = delete;

    private:
        TImpl &FImpl;
    };

private:
    TSocket OpenConnection(const THttpUrl &url);
    std::string BuildRequest(const THttpUrl &url, const std::string *postBody);
    void RaiseWriteEvents(std::int64_t size);
};

namespace {

class TSocketSource final : public IByteSource {
public:
    TSocketSource(TSocket &socket, IWaitHooks &hooks) : FSocket(socket), FHooks(hooks) {}
    std::size_t ReadSome(char *buffer, std::size_t size) override {
        return FSocket.Receive(buffer, size, FHooks);
    }

private:
    TSocket &FSocket;
    IWaitHooks &FHooks;
};

// Raises the client's progress events in read mode. Handlers are copied before each call, as a
// handler may reassign itself.
class TEventSink : public IBodySink {
public:
    explicit TEventSink(THttpClient &client) : FClient(client) {}
    void WorkBegin(std::int64_t expected) override {
        if (const auto handler = FClient.OnWorkBegin)
            handler(TWorkMode::Read, expected);
    }
    void Work(std::int64_t soFar) override {
        if (const auto handler = FClient.OnWork)
            handler(TWorkMode::Read, soFar);
    }
    void WorkEnd() override {
        if (const auto handler = FClient.OnWorkEnd)
            handler(TWorkMode::Read);
    }

private:
    THttpClient &FClient;
};

class TDiscardSink final : public TEventSink {
public:
    using TEventSink::TEventSink;
    void Write(const char *, std::size_t) override {}
};

class TErrorBodySink final : public TEventSink {
public:
    using TEventSink::TEventSink;
    void Write(const char *data, std::size_t size) override {
        FBody.append(data, std::min(size, MaxErrorBodyKept - FBody.size()));
    }
    std::string FBody;
};

class TStreamSink final : public TEventSink {
public:
    TStreamSink(THttpClient &client, std::ostream &out) : TEventSink(client), FOut(out) {}
    void Write(const char *data, std::size_t size) override {
        if (!FOut.write(data, static_cast<std::streamsize>(size)))
            throw ENetError("Could not write the response body.");
    }

private:
    std::ostream &FOut;
};

class TStringSink final : public TEventSink {
public:
    using TEventSink::TEventSink;
    void Write(const char *data, std::size_t size) override {
        if (size > MaxPostResult - FBody.size())
            throw ENetError("Response body too large.");
        FBody.append(data, size);
    }
    std::string FBody;
};

bool HeaderIs(const THttpResponseHead &head, const char *name, const char *value) {
    const std::string *found = head.Find(name);
    return found && EqualsNoCase(*found, value);
}

} // namespace

TSocket THttpClient::TImpl::OpenConnection(const THttpUrl &url) {
    if (FConnection) {
        // A connection to another place, or one the server has dropped while idle, is not reused.
        if (!EqualsNoCase(FConnectionHost, url.host) || FConnectionPort != url.port ||
            FConnection->PeerClosedOrTalking())
            FConnection.reset();
    }
    if (FConnection) {
        TSocket socket = std::move(*FConnection);
        FConnection.reset();
        return socket;
    }
    TSocket socket = TSocket::Connect(url.host, url.port, FConnectTimeoutMs, *this);
    CheckCancelled();
    return socket;
}

std::string THttpClient::TImpl::BuildRequest(const THttpUrl &url, const std::string *postBody) {
    const bool post = postBody != nullptr;
    // A form post goes out as 1.0 and leaves "keep-alive" with the client for good.
    if (post && FConnectionValue.empty())
        FConnectionValue = "keep-alive";
    std::string request = post ? "POST " : "GET ";
    request += url.target;
    request += post ? " HTTP/1.0\r\n" : " HTTP/1.1\r\n";
    AddHeader(request, "Connection", FConnectionValue);
    AddHeader(request, "Content-Type", FContentType);
    if (post)
        AddHeader(request, "Content-Length", std::to_string(postBody->size()));
    AddHeader(request, "Cache-control", FCacheControl);
    AddHeader(request, "Pragma", FPragma);
    AddHeader(request, "Host", HostHeaderValue(url));
    AddHeader(request, "Accept", AcceptTypes);
    AddHeader(request, "User-Agent", UserAgent);
    AddHeader(request, "Cookie", FCookies.CookieHeader(url.host, url.directory, std::time(nullptr)));
    request += "\r\n";
    return request;
}

void THttpClient::TImpl::RaiseWriteEvents(std::int64_t size) {
    if (const auto handler = FOwner.OnWorkBegin)
        handler(TWorkMode::Write, size);
    if (const auto handler = FOwner.OnWork)
        handler(TWorkMode::Write, size);
    if (const auto handler = FOwner.OnWorkEnd)
        handler(TWorkMode::Write);
}

void THttpClient::TImpl::Perform(const std::string &url, const std::string *postBody, IBodySink &finalSink) {
    THttpUrl target = ParseHttpUrl(url);
    for (int request = 1;; ++request) {
        CheckCancelled();
        TSocket socket = OpenConnection(target);
        const TActiveSocket active(*this, socket);
        std::string bytes = BuildRequest(target, postBody);
        if (postBody)
            bytes += *postBody;
        socket.SendAll(bytes);
        if (postBody)
            RaiseWriteEvents(static_cast<std::int64_t>(postBody->size()));

        TSocketSource source(socket, *this);
        THttpResponseReader reader(source);
        const THttpResponseHead head = reader.ReadHead();
        for (const auto &[name, value] : head.headers)
            if (EqualsNoCase(name, "Set-cookie") || EqualsNoCase(name, "Set-cookie2"))
                FCookies.Store(value, target.host, target.directory, std::time(nullptr));
        const TBodyFraming framing = FramingOf(head);
        const bool keepAlive =
            postBody ? HeaderIs(head, "Connection", "keep-alive") ||
                           HeaderIs(head, "Proxy-Connection", "keep-alive")
                     : !HeaderIs(head, "Connection", "close") && !HeaderIs(head, "Proxy-Connection", "close");
        const std::string *location = head.Find("Location");
        const bool redirect = location || (head.code >= 300 && head.code <= 399 && head.code != 304);
        const bool success = head.code >= 200 && head.code <= 299;

        std::optional<TErrorBodySink> errorBody;
        std::optional<TDiscardSink> discarded;
        if (redirect && location) {
            // The limit counts requests; a redirect answering the last allowed one fails the call.
            if (request >= RedirectMaximum)
                throw ENetError("too many redirects");
            discarded.emplace(FOwner);
            reader.ReadBody(framing, *discarded);
        } else if (success && !redirect) {
            reader.ReadBody(framing, finalSink);
        } else {
            errorBody.emplace(FOwner);
            reader.ReadBody(framing, *errorBody);
        }

        // Keep the connection only when the response ended cleanly on it and nobody hung up.
        if (keepAlive && !FCancelled && framing.kind != TBodyFraming::EKind::UntilClose &&
            !reader.HasBufferedBytes()) {
            FConnection.emplace(std::move(socket));
            FConnectionHost = target.host;
            FConnectionPort = target.port;
        }
        if (errorBody)
            throw EHttpError(head.code, head.statusLine, std::move(errorBody->FBody));
        if (!redirect) {
            FLastStatusCode = head.code;
            FLastStatusLine = head.statusLine;
            return;
        }
        target = ResolveRedirect(target, *location);
    }
}

std::string THttpClient::TImpl::MultipartBoundary() {
    const TLocalTime now = FClock.LocalTime();
    char millis[8];
    std::snprintf(millis, sizeof millis, "%03d", std::clamp(now.millisecond, 0, 999));
    return "--------" + TwoDigits(now.month) + TwoDigits(now.day) + TwoDigits(now.year) +
           TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second) + millis;
}

THttpClient::THttpClient(IClock &clock, int connectTimeoutMs)
    : FImpl(std::make_unique<TImpl>(*this, clock, connectTimeoutMs)) {}

THttpClient::~THttpClient() = default;

void THttpClient::SetMessagePump(TMessagePump pump) {
    FImpl->FPump = std::move(pump);
}

void THttpClient::Get(const std::string &url, std::ostream &out) {
    FImpl->RefuseWhenBusy();
    const TImpl::TCallScope scope(*FImpl);
    TStreamSink sink(*this, out);
    FImpl->Perform(url, nullptr, sink);
}

std::string THttpClient::Post(const std::string &url, const TFormFields &form) {
    FImpl->RefuseWhenBusy();
    const TImpl::TCallScope scope(*FImpl);
    FImpl->FConnection.reset();

    const std::string boundary = FImpl->MultipartBoundary();
    std::string body;
    for (const auto &[name, value] : form) {
        body += "--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
        body += value;
        body += "\r\n";
    }
    body += "\r\n--" + boundary + "--\r\n";
    FImpl->FContentType = "multipart/form-data; boundary=" + boundary;

    TStringSink sink(*this);
    FImpl->Perform(url, &body, sink);
    return std::move(sink.FBody);
}

void THttpClient::Disconnect() {
    FImpl->Disconnect();
}

void THttpClient::SetPragma(std::string value) {
    FImpl->FPragma = WithoutLineBreaks(std::move(value));
}

void THttpClient::SetCacheControl(std::string value) {
    FImpl->FCacheControl = WithoutLineBreaks(std::move(value));
}

bool THttpClient::Busy() const {
    return FImpl->FBusy;
}

int THttpClient::LastStatusCode() const { return FImpl->FLastStatusCode; }

std::string THttpClient::LastStatusLine() const { return FImpl->FLastStatusLine; }
