#pragma once

#include <cstdint>
#include <optional>

// Local wall-clock time, broken down as the multipart boundary needs it.
struct TLocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Every clock the program reads, behind one seam so tests can fix time.
class IClock {
public:
    virtual ~IClock() = default;
    // The high-resolution counter; empty when the system has none.
    virtual std::optional<std::uint64_t> PerformanceCounter() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    virtual TLocalTime LocalTime() = 0;
    // Blocks the calling thread; no window messages are processed meanwhile.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

IClock &SystemClock();
