#include "utils/Random.h"

#include "platform/Clock.h"

void TRandomGenerator::Randomize() {
    const auto counter = FClock.PerformanceCounter();
    FSeed = counter ? static_cast<std::uint32_t>(*counter) : FClock.TickCount();
}

std::uint32_t TRandomGenerator::RandomIndex(std::uint32_t n) {
    FSeed = FSeed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * FSeed) >> 32);
}

TRandomGenerator &ProcessRandom() {
    static TRandomGenerator generator(SystemClock());
    return generator;
}
