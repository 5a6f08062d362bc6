#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

} // namespace containertest
