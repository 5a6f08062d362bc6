#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a blocked socket operation does between its waits: dispatch window events and stop when
// the call was cancelled meanwhile.
class IWaitHooks {
public:
    virtual ~IWaitHooks() = default;
    // Called after a wait step that ended without progress; may throw to end the operation.
    virtual void Idle() = 0;
    // Throws when the call has been cancelled.
    virtual void CheckCancelled() = 0;
};

// A connected TCP socket in non-blocking mode. Owns its descriptor; Shutdown() ends the traffic
// without releasing the descriptor, so a pending wait on it can never see a reused number.
class TSocket final {
public:
    static constexpr int ConnectStepMs = 125;
    static constexpr int ReceiveStepMs = 250;

    // Resolves host (blocking, as name resolution is) and connects, waiting in steps of at most
    // ConnectStepMs with hooks.Idle() after each. Throws ENetError.
    static TSocket Connect(const std::string &host, int port, int timeoutMs, IWaitHooks &hooks);

    TSocket(TSocket &&other) noexcept;
    TSocket &operator=(TSocket &&other) noexcept;
    TSocket(const TSocket &) = delete;
    TSocket &operator=(const TSocket &) = delete;
    ~TSocket();

    // Sends everything; waits without dispatching events while the peer's window is full.
    void SendAll(std::string_view data);
    // Waits for data in steps of at most ReceiveStepMs, calling hooks.Idle() after each step
    // without data. Returns 0 when the peer has closed.
    std::size_t Receive(char *buffer, std::size_t size, IWaitHooks &hooks);
    // True when the idle connection has been closed by the peer or has unexpected bytes waiting.
    bool PeerClosedOrTalking() const;
    void Shutdown();

private:
    explicit TSocket(int fd) : FFd(fd) {}
    void Close();
    int FFd = -1;
};
