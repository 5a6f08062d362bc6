#include "tests/support/ScriptedServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    return static_cast<int>(std::max<long long>(0, left));
}

std::string Lower(std::string text) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The Content-Length of a request's header block, 0 when absent.
std::size_t ContentLengthOf(const std::string &head) {
    const std::string lower = Lower(head);
    const auto at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return static_cast<std::size_t>(std::strtoul(lower.c_str() + at + 17, nullptr, 10));
}

} // namespace

TScriptedServer::TScriptedServer(std::vector<TScript> scripts, std::chrono::milliseconds lifetime)
    : FScripts(std::move(scripts)), FDeadline(std::chrono::steady_clock::now() + lifetime) {
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FListen < 0)
        throw std::runtime_error("socket failed");
    const int one = 1;
    ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(FListen, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(FListen, 16) != 0 ||
        ::getsockname(FListen, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(FListen);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    FPort = ntohs(address.sin_port);
    FThread = std::thread([this] { Run(); });
}

TScriptedServer::~TScriptedServer() {
    FStop = true;
    if (FThread.joinable())
        FThread.join();
    ::close(FListen);
}

std::string TScriptedServer::Url(const std::string &target) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + target;
}

void TScriptedServer::Finish() {
    if (FThread.joinable())
        FThread.join();
}

std::vector<std::string> TScriptedServer::Received() const {
    const std::lock_guard lock(FMutex);
    return FReceived;
}

std::vector<bool> TScriptedServer::ClientClosed() const {
    const std::lock_guard lock(FMutex);
    return FClientClosed;
}

void TScriptedServer::Run() {
    for (std::size_t index = 0; index < FScripts.size(); ++index) {
        int fd = -1;
        while (fd < 0) {
            const int left = MillisecondsLeft(FDeadline);
            if (left == 0 || FStop)
                return;
            pollfd waiter{FListen, POLLIN, 0};
            if (::poll(&waiter, 1, std::min(left, 50)) > 0)
                fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        }
        ++FAccepted;
        {
            const std::lock_guard lock(FMutex);
            FReceived.emplace_back();
            FClientClosed.push_back(false);
        }
        FPending.clear();
        Play(fd, FScripts[index], index);
        ::close(fd);
    }
}

bool TScriptedServer::ReadSome(int fd, std::size_t index, int timeoutMs) {
    pollfd waiter{fd, POLLIN, 0};
    if (::poll(&waiter, 1, timeoutMs) <= 0)
        return false;
    char buffer[16384];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
        const std::lock_guard lock(FMutex);
        FClientClosed[index] = true;
        return false;
    }
    const std::lock_guard lock(FMutex);
    FReceived[index].append(buffer, static_cast<std::size_t>(got));
    FPending.append(buffer, static_cast<std::size_t>(got));
    return true;
}

bool TScriptedServer::ReadRequest(int fd, std::size_t index) {
    for (;;) {
        const auto headEnd = FPending.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            const std::size_t total = headEnd + 4 + ContentLengthOf(FPending.substr(0, headEnd + 2));
            if (FPending.size() >= total) {
                FPending.erase(0, total);
                return true;
            }
        }
        const int left = MillisecondsLeft(FDeadline);
        if (left == 0 || FStop || !ReadSome(fd, index, std::min(left, 50))) {
            const std::lock_guard lock(FMutex);
            if (FClientClosed[index] || left == 0 || FStop)
                return false;
        }
    }
}

void TScriptedServer::Play(int fd, const TScript &script, std::size_t index) {
    for (const TAction &action : script) {
        switch (action.kind) {
        case TAction::EKind::Request:
            if (!ReadRequest(fd, index))
                return;
            break;
        case TAction::EKind::Send: {
            std::size_t sent = 0;
            while (sent < action.bytes.size()) {
                const ssize_t n =
                    ::send(fd, action.bytes.data() + sent, action.bytes.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    return;
                sent += static_cast<std::size_t>(n);
            }
            break;
        }
        case TAction::EKind::Pause: {
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(action.milliseconds);
            while (!FStop && std::chrono::steady_clock::now() < until && MillisecondsLeft(FDeadline) > 0)
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(std::min(10, MillisecondsLeft(until) + 1)));
            break;
        }
        case TAction::EKind::Close:
            return;
        case TAction::EKind::AwaitClose: {
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(action.milliseconds);
            for (;;) {
                const int left = std::min(MillisecondsLeft(until), MillisecondsLeft(FDeadline));
                if (left == 0 || FStop)
                    break;
                ReadSome(fd, index, std::min(left, 50));
                const std::lock_guard lock(FMutex);
                if (FClientClosed[index])
                    break;
            }
            break;
        }
        }
    }
}
