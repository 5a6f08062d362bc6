#include "net/Socket.h"

#include "net/HttpClient.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

struct TAddrInfoFree {
    void operator()(addrinfo *info) const { freeaddrinfo(info); }
};

// A descriptor owned until handed to a TSocket.
class TFd final {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    int Get() const { return FFd; }
    int Release() { return std::exchange(FFd, -1); }

private:
    int FFd;
};

} // namespace

TSocket TSocket::Connect(const std::string &host, int port, int timeoutMs, IWaitHooks &hooks) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    const std::string service = std::to_string(port);
    const int resolved = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (resolved != 0 || !found)
        throw ENetError("Host not found: " + host + " (" + gai_strerror(resolved) + ")");
    const std::unique_ptr<addrinfo, TAddrInfoFree> addresses(found);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string lastError = "Connection refused.";
    for (const addrinfo *address = addresses.get(); address; address = address->ai_next) {
        TFd fd(::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        address->ai_protocol));
        if (fd.Get() < 0) {
            lastError = "Could not create a socket: " + ErrnoText(errno);
            continue;
        }
        int result = ::connect(fd.Get(), address->ai_addr, address->ai_addrlen);
        int error = result == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            for (;;) {
                const auto now = std::chrono::steady_clock::now();
                if (now >= deadline)
                    throw ENetError("Connect timed out.");
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
                pollfd waiter{fd.Get(), POLLOUT, 0};
                const int ready =
                    ::poll(&waiter, 1, static_cast<int>(std::min<long long>(left + 1, ConnectStepMs)));
                if (ready < 0 && errno != EINTR)
                    throw ENetError("Connect failed: " + ErrnoText(errno));
                if (ready > 0) {
                    socklen_t length = sizeof error;
                    if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                        error = errno;
                    break;
                }
                hooks.Idle();
            }
        }
        if (error == 0) {
            const int one = 1;
            ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            return TSocket(fd.Release());
        }
        lastError = error == ECONNREFUSED ? std::string("Connection refused.")
                                          : "Connect failed: " + ErrnoText(error);
    }
    throw ENetError(lastError);
}

TSocket::TSocket(TSocket &&other) noexcept : FFd(std::exchange(other.FFd, -1)) {}

TSocket &TSocket::operator=(TSocket &&other) noexcept {
    if (this != &other) {
        Close();
        FFd = std::exchange(other.FFd, -1);
    }
    return *this;
}

TSocket::~TSocket() {
    Close();
}

void TSocket::Close() {
    if (FFd >= 0)
        ::close(std::exchange(FFd, -1));
}

void TSocket::Shutdown() {
    if (FFd >= 0)
        ::shutdown(FFd, SHUT_RDWR);
}

void TSocket::SendAll(std::string_view data) {
    while (!data.empty()) {
        const ssize_t sent = ::send(FFd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd waiter{FFd, POLLOUT, 0};
            ::poll(&waiter, 1, -1);
            continue;
        }
        throw ENetError("Send failed: " + ErrnoText(sent < 0 ? errno : EPIPE));
    }
}

std::size_t TSocket::Receive(char *buffer, std::size_t size, IWaitHooks &hooks) {
    for (;;) {
        hooks.CheckCancelled();
        const ssize_t got = ::recv(FFd, buffer, size, 0);
        if (got > 0)
            return static_cast<std::size_t>(got);
        if (got == 0) {
            // A shutdown by Disconnect() also reads as a close: it must end the call with an error.
            hooks.CheckCancelled();
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw ENetError("Receive failed: " + ErrnoText(errno));
        pollfd waiter{FFd, POLLIN, 0};
        const int ready = ::poll(&waiter, 1, ReceiveStepMs);
        if (ready < 0 && errno != EINTR)
            throw ENetError("Receive failed: " + ErrnoText(errno));
        if (ready == 0)
            hooks.Idle();
    }
}

bool TSocket::PeerClosedOrTalking() const {
    if (FFd < 0)
        return true;
    pollfd waiter{FFd, POLLIN, 0};
    return ::poll(&waiter, 1, 0) != 0;
}
