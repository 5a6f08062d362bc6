#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace containertest {

using TBytes = std::vector<std::uint8_t>;

// A clock whose counter steps by a fixed amount per call, so salts are reproducible.
class TSteppingClock final : public IClock {
public:
    explicit TSteppingClock(std::uint64_t start = 0x0123456789ABCDEFull,
                            std::uint64_t step = 0x9E3779B97F4A7C15ull)
        : FNext(start), FStep(step) {}
    bool hasCounter = true;
    std::uint32_t tick = 0x11223344u;
    std::uint32_t tickStep = 7;

    std::optional<std::uint64_t> PerformanceCounter() override {
        if (!hasCounter)
            return std::nullopt;
        const std::uint64_t value = FNext;
        FNext += FStep;
        return value;
    }
    std::uint32_t TickCount() override {
        const std::uint32_t value = tick;
        tick += tickStep;
        return value;
    }
    TLocalTime LocalTime() override { return {}; }
    void Sleep(std::uint32_t) override {}

private:
    std::uint64_t FNext;
    std::uint64_t FStep;
};

inline TBytes ToBytes(const std::string &s) {
    return TBytes(s.begin(), s.end());
}
inline std::string ToString(const TBytes &b) {
    return std::string(b.begin(), b.end());
}

inline TBytes PatternBytes(std::size_t length, std::uint32_t seed = 1) {
    TBytes data(length);
    std::uint32_t x = seed;
    for (auto &byte : data) {
        x = x * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(x >> 16);
    }
    return data;
}

inline std::string FindOnPath(const std::string &program) {
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = dir + "/" + program;
        if (!dir.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Runs program with arguments (no shell), output discarded; the exit status, or -1 when it did
// not finish within the time limit.
inline int RunProgram(const std::string &program, const std::vector<std::string> &arguments) {
    std::vector<char *> argv;
    std::vector<std::string> storage = arguments;
    storage.insert(storage.begin(), program);
    for (auto &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace containertest
