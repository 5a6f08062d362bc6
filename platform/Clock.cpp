#include "platform/Clock.h"

#include <ctime>
#include <sys/time.h>

namespace {

class TSystemClock final : public IClock {
public:
    std::optional<std::uint64_t> PerformanceCounter() override {
        timespec ts{};
        if (clock_gettime(CLOCK_MONOTONIC_RAW, &ts) != 0)
            return std::nullopt;
        return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u + static_cast<std::uint64_t>(ts.tv_nsec);
    }

    std::uint32_t TickCount() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        const auto ms =
            static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);
    }

    TLocalTime LocalTime() override {
        timeval tv{};
        gettimeofday(&tv, nullptr);
        tm parts{};
        localtime_r(&tv.tv_sec, &parts);
        return {parts.tm_year + 1900,
                parts.tm_mon + 1,
                parts.tm_mday,
                parts.tm_hour,
                parts.tm_min,
                parts.tm_sec,
                static_cast<int>(tv.tv_usec / 1000)};
    }

    void Sleep(std::uint32_t milliseconds) override {
        timespec remaining{static_cast<time_t>(milliseconds / 1000),
                           static_cast<long>(milliseconds % 1000) * 1000000L};
        while (nanosleep(&remaining, &remaining) != 0) {
        }
    }
};

} // namespace

IClock &SystemClock() {
    static TSystemClock clock;
    return clock;
}
