// Downloads a 512 MiB body from a loopback server into a file, with our client and with curl in
// the same run; prints both times, their ratio and our peak memory growth.
// Goals: our time at most 1.25 x curl's, peak memory growth under 32 MiB.
#include "net/HttpClient.h"
#include "platform/Clock.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr long long BodySize = 512LL * 1024 * 1024;
constexpr int Rounds = 2;

// Serves the same body to every request on 127.0.0.1; stops after its connection budget or its
// lifetime, whichever comes first.
class TBodyServer final {
public:
    TBodyServer(int connections, std::chrono::seconds lifetime)
        : FConnections(connections), FDeadline(std::chrono::steady_clock::now() + lifetime) {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(FListen, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(FListen, 4);
        ::getsockname(FListen, reinterpret_cast<sockaddr *>(&address), &length);
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this] { Run(); });
    }
    ~TBodyServer() {
        FStop = true;
        FThread.join();
        ::close(FListen);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPort) + "/big.bin"; }

private:
    bool TimeLeft() const { return !FStop && std::chrono::steady_clock::now() < FDeadline; }

    void Run() {
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>('a' + i % 26);
        for (int served = 0; served < FConnections && TimeLeft();) {
            pollfd waiter{FListen, POLLIN, 0};
            if (::poll(&waiter, 1, 100) <= 0)
                continue;
            const int fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++served;
            Serve(fd, block);
            ::close(fd);
        }
    }

    void Serve(int fd, const std::vector<char> &block) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 && TimeLeft()) {
            pollfd waiter{fd, POLLIN, 0};
            if (::poll(&waiter, 1, 100) <= 0)
                continue;
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const std::string head =
            "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
            std::to_string(BodySize) + "\r\nConnection: close\r\n\r\n";
        if (::send(fd, head.data(), head.size(), MSG_NOSIGNAL) < 0)
            return;
        long long left = BodySize;
        while (left > 0 && TimeLeft()) {
            const auto piece =
                static_cast<std::size_t>(std::min<long long>(left, static_cast<long long>(block.size())));
            const ssize_t sent = ::send(fd, block.data(), piece, MSG_NOSIGNAL);
            if (sent <= 0)
                return;
            left -= sent;
        }
    }

    int FConnections;
    std::chrono::steady_clock::time_point FDeadline;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

long VmHwmKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Runs curl with an argument list (no shell) and returns its exit status.
int RunCurl(const std::string &url, const std::string &file) {
    std::vector<std::string> arguments = {"curl", "--silent", "--show-error", "--output", file, url};
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

} // namespace

int main() {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "vellmark-http-bench";
    std::filesystem::create_directories(directory);
    const std::string ourFile = (directory / "ours.bin").string();
    const std::string curlFile = (directory / "curl.bin").string();

    TBodyServer server(2 * Rounds, std::chrono::seconds(300));
    THttpClient client(SystemClock());
    double bestOurs = 1e9, bestCurl = 1e9;
    long growthKiB = 0;
    bool ok = true;
    for (int round = 1; round <= Rounds && ok; ++round) {
        const long before = VmHwmKiB();
        auto start = std::chrono::steady_clock::now();
        {
            std::ofstream out(ourFile, std::ios::binary | std::ios::trunc);
            try {
                client.Get(server.Url(), out);
            } catch (const ENetError &error) {
                std::printf("our download failed: %s\n", error.what());
                ok = false;
            }
        }
        const double ours = Seconds(std::chrono::steady_clock::now() - start);
        growthKiB = std::max(growthKiB, VmHwmKiB() - before);
        const auto ourSize = std::filesystem::file_size(ourFile);

        start = std::chrono::steady_clock::now();
        const int curlStatus = RunCurl(server.Url(), curlFile);
        const double curl = Seconds(std::chrono::steady_clock::now() - start);
        const auto curlSize = std::filesystem::exists(curlFile) ? std::filesystem::file_size(curlFile) : 0;
        if (curlStatus != 0 || ourSize != static_cast<std::uintmax_t>(BodySize) ||
            curlSize != static_cast<std::uintmax_t>(BodySize)) {
            std::printf("round %d: bad download (curl status %d, sizes %ju / %ju)\n", round, curlStatus,
                        static_cast<std::uintmax_t>(ourSize), static_cast<std::uintmax_t>(curlSize));
            ok = false;
        }
        std::printf("round %d: ours %.3f s, curl %.3f s\n", round, ours, curl);
        bestOurs = std::min(bestOurs, ours);
        bestCurl = std::min(bestCurl, curl);
        std::filesystem::remove(ourFile);
        std::filesystem::remove(curlFile);
    }
    std::filesystem::remove_all(directory);
    if (!ok)
        return 1;
    const double ratio = bestOurs / bestCurl;
    std::printf("HTTP download of %lld MiB from loopback into a file (best of %d)\n", BodySize >> 20, Rounds);
    std::printf("  ours  %.3f s  (%.0f MiB/s)\n", bestOurs, (BodySize >> 20) / bestOurs);
    std::printf("  curl  %.3f s  (%.0f MiB/s)\n", bestCurl, (BodySize >> 20) / bestCurl);
    std::printf("  ratio ours/curl %.2f  (goal <= 1.25)  %s\n", ratio, ratio <= 1.25 ? "met" : "MISSED");
    std::printf("  peak memory growth %.1f MiB  (goal < 32)  %s\n", growthKiB / 1024.0,
                growthKiB < 32 * 1024 ? "met" : "MISSED");
    return 0;
}
