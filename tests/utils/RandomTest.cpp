#include "utils/Random.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

class TFakeClock final : public IClock {
public:
    std::optional<std::uint64_t> counter;
    std::uint32_t tick = 0;
    std::optional<std::uint64_t> PerformanceCounter() override { return counter; }
    std::uint32_t TickCount() override { return tick; }
    TLocalTime LocalTime() override { return {}; }
    void Sleep(std::uint32_t) override {}
};

// Values computed independently: seed' = seed * 134775813 + 1 mod 2^32, index = (n * seed') >> 32.
TEST(RandomGenerator, SequenceFromKnownSeed) {
    TFakeClock clock;
    TRandomGenerator random(clock);
    random.SetSeed(12345);
    const struct {
        std::uint32_t n, index, seed;
    } steps[] = {{5000, 1926, 1655067934u},
                 {5000, 1446, 1242767767u},
                 {1000, 79, 342459380u},
                 {100, 55, 2377737157u},
                 {4294967295u, 2721613529u, 2721613530u},
                 {1, 0, 1467157059u}};
    for (const auto &step : steps) {
        EXPECT_EQ(random.RandomIndex(step.n), step.index);
        EXPECT_EQ(random.Seed(), step.seed);
    }
    random.SetSeed(0xFFFFFFFFu);
    EXPECT_EQ(random.RandomIndex(5000), 4843u);
    EXPECT_EQ(random.RandomIndex(0), 0u);
}

TEST(RandomGenerator, ReseedsFromCounterLowBitsElseTick) {
    TFakeClock clock;
    TRandomGenerator random(clock);
    clock.counter = 0x123456789ABCDEF0ull;
    clock.tick = 77;
    random.Randomize();
    EXPECT_EQ(random.Seed(), 0x9ABCDEF0u);
    clock.counter.reset();
    random.Randomize();
    EXPECT_EQ(random.Seed(), 77u);
}

} // namespace
