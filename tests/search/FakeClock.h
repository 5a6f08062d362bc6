#pragma once

#include "platform/Clock.h"

#include <functional>
#include <vector>

// A clock whose counter is fixed and whose sleeps return at once, recorded.
class TFakeClock final : public IClock {
public:
    std::uint64_t counter = 0x1234567890ull;
    std::vector<std::uint32_t> sleeps;
    std::function<void()> onSleep;

    std::optional<std::uint64_t> PerformanceCounter() override { return counter; }
    std::uint32_t TickCount() override { return 0; }
    TLocalTime LocalTime() override { return {}; }
    void Sleep(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        if (onSleep)
            onSleep();
    }
};
