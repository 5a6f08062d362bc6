#include "widgets/Gauge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <ostream>

namespace {

struct TStep {
    enum { Max, Value } what;
    std::int64_t amount;
};

struct TGaugeCase {
    const char *name;
    std::vector<TStep> steps;
    std::int64_t value;
    std::int64_t maxValue;
    int percent;
};

// Names the case in test listings.
void PrintTo(const TGaugeCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class GaugeTest : public ::testing::TestWithParam<TGaugeCase> {};

TEST_P(GaugeTest, KeepsTheValueInRange) {
    const TGaugeCase &c = GetParam();
    TSkinGauge gauge;
    for (const TStep &step : c.steps)
        step.what == TStep::Max ? gauge.SetMaxValue(step.amount) : gauge.SetValue(step.amount);

    EXPECT_EQ(gauge.Value(), c.value);
    EXPECT_EQ(gauge.MaxValue(), c.maxValue);
    EXPECT_EQ(gauge.Percent(), c.percent);
    EXPECT_EQ(gauge.text(), QString::number(c.percent) + QLatin1Char('%'));
    // The drawn bar: never the busy animation of an empty range, filled in proportion.
    EXPECT_LT(gauge.minimum(), gauge.maximum());
    if (c.value == 0) {
        EXPECT_EQ(gauge.value(), gauge.minimum());
    }
    if (c.maxValue > 0 && c.value == c.maxValue) {
        EXPECT_EQ(gauge.value(), gauge.maximum());
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainGauge, GaugeTest,
    ::testing::Values(TGaugeCase{"AtStart", {}, 0, 100, 0},
                      TGaugeCase{"InRange", {{TStep::Value, 42}}, 42, 100, 42},
                      TGaugeCase{"AboveMaximum", {{TStep::Value, 150}}, 100, 100, 100},
                      TGaugeCase{"Negative", {{TStep::Value, 30}, {TStep::Value, -5}}, 0, 100, 0},
                      TGaugeCase{"MaximumZeroIsEmpty", {{TStep::Value, 60}, {TStep::Max, 0}}, 0, 0, 0},
                      TGaugeCase{"ValueOnZeroMaximum", {{TStep::Max, 0}, {TStep::Value, 10}}, 0, 0, 0},
                      TGaugeCase{"EndOnZeroMaximumStaysEmpty", {{TStep::Max, 0}, {TStep::Value, 0}}, 0, 0, 0},
                      TGaugeCase{
                          "ShrinkingMaximumClamps", {{TStep::Value, 80}, {TStep::Max, 50}}, 50, 50, 100},
                      TGaugeCase{"NegativeMaximumIsZero", {{TStep::Max, -7}}, 0, 0, 0},
                      TGaugeCase{"PercentRoundsDown", {{TStep::Max, 3}, {TStep::Value, 2}}, 2, 3, 66},
                      TGaugeCase{"BeyondThirtyTwoBits",
                                 {{TStep::Max, 5'000'000'000}, {TStep::Value, 2'500'000'000}},
                                 2'500'000'000,
                                 5'000'000'000,
                                 50},
                      TGaugeCase{"FullAtHugeCounts",
                                 {{TStep::Max, INT64_MAX}, {TStep::Value, INT64_MAX}},
                                 INT64_MAX,
                                 INT64_MAX,
                                 100}),
    [](const auto &info) { return info.param.name; });

} // namespace
