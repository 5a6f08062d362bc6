#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A raw-socket server on 127.0.0.1 for wire-level tests. Each accepted connection plays the next
// script: read a request, send bytes, pause, close. It records every byte received per
// connection. It stops by itself after the last script or when its lifetime ends.
class TScriptedServer final {
public:
    struct TAction {
        enum class EKind { Request, Send, Pause, Close, AwaitClose };
        EKind kind;
        std::string bytes;
        int milliseconds = 0;
    };
    using TScript = std::vector<TAction>;

    // Reads one request: the header block and, when announced, a Content-Length body.
    static TAction Request() { return {TAction::EKind::Request, {}, 0}; }
    static TAction Send(std::string bytes) { return {TAction::EKind::Send, std::move(bytes), 0}; }
    static TAction Pause(int milliseconds) { return {TAction::EKind::Pause, {}, milliseconds}; }
    static TAction Close() { return {TAction::EKind::Close, {}, 0}; }
    // Waits (at most milliseconds) for the client to close its side; records whether it did.
    static TAction AwaitClose(int milliseconds) { return {TAction::EKind::AwaitClose, {}, milliseconds}; }

    explicit TScriptedServer(std::vector<TScript> scripts,
                             std::chrono::milliseconds lifetime = std::chrono::milliseconds(10000));
    ~TScriptedServer();
    TScriptedServer(const TScriptedServer &) = delete;
    TScriptedServer &operator=(const TScriptedServer &) = delete;

    int Port() const { return FPort; }
    // "http://127.0.0.1:PORT" followed by target.
    std::string Url(const std::string &target) const;
    // Waits until every script has run or the lifetime is over, then stops.
    void Finish();
    // Valid after Finish(): the bytes received on each accepted connection, in order.
    std::vector<std::string> Received() const;
    // Valid after Finish(): per accepted connection, whether the client closed it first.
    std::vector<bool> ClientClosed() const;
    int Accepted() const { return FAccepted.load(); }

private:
    void Run();
    void Play(int fd, const TScript &script, std::size_t index);
    bool ReadRequest(int fd, std::size_t index);
    bool ReadSome(int fd, std::size_t index, int timeoutMs);

    std::vector<TScript> FScripts;
    std::chrono::steady_clock::time_point FDeadline;
    int FListen = -1;
    int FPort = 0;
    std::atomic<int> FAccepted{0};
    std::atomic<bool> FStop{false};
    mutable std::mutex FMutex;
    std::vector<std::string> FReceived;
    std::vector<bool> FClientClosed;
    std::string FPending; // bytes read past the end of a request, kept for the next one
    std::thread FThread;
};
