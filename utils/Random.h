#pragma once

#include <cstdint>

class IClock;

// The process-wide pseudo-random generator: a 32-bit linear congruential generator whose draws
// must match the original program's bit for bit.
class TRandomGenerator final {
public:
    explicit TRandomGenerator(IClock &clock) : FClock(clock) {}

    // Seed from the low 32 bits of the high-resolution counter, or the millisecond tick when the
    // system has no such counter.
    void Randomize();
    // An index from 0 to n - 1 (0 when n is 0).
    std::uint32_t RandomIndex(std::uint32_t n);

    std::uint32_t Seed() const { return FSeed; }
    void SetSeed(std::uint32_t seed) { FSeed = seed; }

private:
    IClock &FClock;
    std::uint32_t FSeed = 0;
};

TRandomGenerator &ProcessRandom();
