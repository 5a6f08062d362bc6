// The client keeps its caller's window alive while it blocks, and a handler run from there may
// end the call.
#include "net/HttpClient.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/ScriptedServer.h"

#include <arpa/inet.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using TServer = TScriptedServer;

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A loopback listener whose accept queue is full, so a further connect is never answered.
class TFullListener final {
public:
    TFullListener() {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(FListen, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(FListen, 0) != 0 ||
            ::getsockname(FListen, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw std::runtime_error("listen failed");
        FPort = ntohs(address.sin_port);
        for (int i = 0; i < 16; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
            pollfd waiter{fd, POLLOUT, 0};
            int error = -1;
            socklen_t size = sizeof error;
            if (::poll(&waiter, 1, 300) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
                error == 0) {
                FFillers.push_back(fd);
                continue;
            }
            ::close(fd);
            FFull = true;
            break;
        }
    }
    ~TFullListener() {
        for (const int fd : FFillers)
            ::close(fd);
        ::close(FListen);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPort) + "/"; }
    bool Full() const { return FFull; }

private:
    int FListen = -1;
    int FPort = 0;
    bool FFull = false;
    std::vector<int> FFillers;
};

class HttpPumpTest : public ::testing::Test {
protected:
    TFixedClock FClock;
    THttpClient FClient{FClock};
    int FPumps = 0;
};

TEST_F(HttpPumpTest, PumpRunsWhileTheServerIsSilent) {
    TServer server({{TServer::Request(), TServer::Pause(1300), TServer::Send(Response("200 OK", "late"))}});
    FClient.SetMessagePump([this] {
        ++FPumps;
        EXPECT_TRUE(FClient.Busy());
    });
    std::ostringstream out;
    FClient.Get(server.Url("/"), out);
    EXPECT_EQ(out.str(), "late");
    // 1300 ms of silence in waits of at most 250 ms.
    EXPECT_GE(FPumps, 3);
    EXPECT_FALSE(FClient.Busy());
}

TEST_F(HttpPumpTest, DisconnectFromThePumpEndsTheCallAndReleasesTheSocket) {
    const std::size_t before = OpenDescriptors();
    {
        TServer server(
            {{TServer::Request(), TServer::Pause(5000), TServer::Send(Response("200 OK", "late"))}});
        FClient.SetMessagePump([this] {
            ++FPumps;
            FClient.Disconnect();
        });
        std::ostringstream out;
        EXPECT_THROW(FClient.Get(server.Url("/"), out), ENetError);
        EXPECT_EQ(FPumps, 1);
        EXPECT_FALSE(FClient.Busy());
    }
    EXPECT_EQ(OpenDescriptors(), before);

    FClient.SetMessagePump(nullptr);
    TServer server({{TServer::Request(), TServer::Send(Response("200 OK", "again"))}});
    std::ostringstream out;
    FClient.Get(server.Url("/"), out);
    EXPECT_EQ(out.str(), "again");
}

TEST_F(HttpPumpTest, DisconnectFromAProgressHandler) {
    // During the body: the call fails. In the final end event: the call succeeds, but the
    // connection is not kept for the next call.
    TServer server(
        {{TServer::Request(), TServer::Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nabc"),
          TServer::Pause(500), TServer::Send("def")},
         {TServer::Request(), TServer::Send(Response("200 OK", "whole")), TServer::AwaitClose(3000)},
         {TServer::Request(), TServer::Send(Response("200 OK", "new"))}});
    FClient.OnWork = [this](TWorkMode, std::int64_t) { FClient.Disconnect(); };
    std::ostringstream out;
    EXPECT_THROW(FClient.Get(server.Url("/"), out), ENetError);

    FClient.OnWork = nullptr;
    FClient.OnWorkEnd = [this](TWorkMode) { FClient.Disconnect(); };
    std::ostringstream whole;
    FClient.Get(server.Url("/"), whole);
    EXPECT_EQ(whole.str(), "whole");

    FClient.OnWorkEnd = nullptr;
    std::ostringstream next;
    FClient.Get(server.Url("/"), next);
    EXPECT_EQ(next.str(), "new");
    server.Finish();
    EXPECT_EQ(server.Accepted(), 3);
    EXPECT_TRUE(server.ClientClosed()[1]);
}

TEST_F(HttpPumpTest, SecondCallWhileBlockedIsRefusedAtOnce) {
    TServer server({{TServer::Request(), TServer::Pause(600), TServer::Send(Response("200 OK", "first"))}});
    int refused = 0;
    FClient.SetMessagePump([&] {
        std::ostringstream nested;
        try {
            FClient.Get(server.Url("/nested"), nested);
        } catch (const ENetError &) {
            ++refused;
        }
        try {
            FClient.Post(server.Url("/nested"), {});
        } catch (const ENetError &) {
            ++refused;
        }
    });
    std::ostringstream out;
    FClient.Get(server.Url("/"), out);
    server.Finish();
    EXPECT_EQ(out.str(), "first");
    EXPECT_GE(refused, 2);
    EXPECT_EQ(refused % 2, 0);
    ASSERT_EQ(server.Received().size(), 1u);
    EXPECT_EQ(server.Received()[0].find("/nested"), std::string::npos);
}

TEST_F(HttpPumpTest, ThrowingPumpPropagatesAndLeavesTheClientUsable) {
    TServer server({{TServer::Request(), TServer::Pause(600), TServer::Send(Response("200 OK", "x"))},
                    {TServer::Request(), TServer::Send(Response("200 OK", "fine"))}});
    FClient.SetMessagePump([] { throw std::logic_error("from the window"); });
    std::ostringstream out;
    EXPECT_THROW(FClient.Get(server.Url("/"), out), std::logic_error);
    EXPECT_FALSE(FClient.Busy());
    FClient.SetMessagePump(nullptr);
    FClient.Get(server.Url("/"), out);
    EXPECT_EQ(out.str(), "fine");
}

TEST(HttpConnectTest, UnansweredConnectTimesOutWhilePumping) {
    TFullListener listener;
    if (!listener.Full())
        GTEST_SKIP() << "the loopback accept queue did not fill";
    TFixedClock clock;
    THttpClient client(clock, 700);
    int pumps = 0;
    client.SetMessagePump([&] { ++pumps; });
    std::ostringstream out;
    try {
        client.Get(listener.Url(), out);
        FAIL() << "connected";
    } catch (const ENetError &e) {
        EXPECT_STREQ(e.what(), "Connect timed out.");
    }
    // 700 ms in steps of at most 125 ms.
    EXPECT_GE(pumps, 4);
}

TEST(HttpConnectTest, DisconnectFromThePumpEndsAConnect) {
    TFullListener listener;
    if (!listener.Full())
        GTEST_SKIP() << "the loopback accept queue did not fill";
    TFixedClock clock;
    THttpClient client(clock);
    int pumps = 0;
    client.SetMessagePump([&] {
        if (++pumps == 2)
            client.Disconnect();
    });
    std::ostringstream out;
    EXPECT_THROW(client.Get(listener.Url(), out), ENetError);
    EXPECT_EQ(pumps, 2);
}

TEST(HttpConnectTest, RefusedConnectionFails) {
    int port = 0;
    {
        TServer closed({}, std::chrono::milliseconds(1));
        port = closed.Port();
    }
    TFixedClock clock;
    THttpClient client(clock);
    std::ostringstream out;
    EXPECT_THROW(client.Get("http://127.0.0.1:" + std::to_string(port) + "/", out), ENetError);
}

} // namespace
