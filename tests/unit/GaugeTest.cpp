// The gauge's arithmetic: clamping, percentages, fill width and text.

#include <gtest/gtest.h>

#include <cstdint>

#include "archive/Gauge.h"

namespace {

constexpr std::uint32_t kMax32 = 0xFFFFFFFFu;

TEST(GaugeArithmetic, ClampTakesTheMaximumFirstThenTheMinimum) {
    struct Case {
        std::uint32_t value, minimum, maximum, expected;
    };
    const Case cases[] = {
        {5, 1, 10, 5},
        {0, 1, 10, 1},              // below the minimum
        {11, 1, 10, 10},            // above the maximum
        {kMax32, 0, kMax32, kMax32},
        {kMax32, 1, 0x80000000u, 0x80000000u},  // unsigned: no sign trouble at the top bit
        {0, 0, 0, 0},
        {1, 1, 0, 1},               // inverted range (empty install): the minimum wins
        {0, 1, 0, 1},
        {500, 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " in " << c.minimum << ".." << c.maximum);
        EXPECT_EQ(ClampGaugePosition(c.value, c.minimum, c.maximum), c.expected);
    }
}

TEST(GaugeArithmetic, PercentOfTheRange) {
    struct Case {
        std::uint32_t minimum, maximum, position;
        int expected;
    };
    const Case cases[] = {
        {0, 99, 0, 0},
        {0, 100, 42, 42},
        {0, 3, 1, 33},                       // rounds down
        {0, 3, 2, 66},
        {1, 101, 51, 50},
        {0, 3000000, 1500000, 50},           // large values
        {0, kMax32, kMax32 / 2, 49},         // (2^31-1)*100 needs more than 32 bits
        {0, kMax32, kMax32 - 1, 99},
        {0, kMax32, kMax32, 100},
        {kMax32 - 100, kMax32, kMax32 - 50, 50},
        {1000001, 1000500, 1000250, 49},     // close large bounds: no empty range, no division by zero
        {1, 0, 1, 0},                        // empty install: 0% on an empty bar
        {1, 0, 0, 0},
        {1, 1, 1, 0},                        // empty range
        {10, 20, 5, 0},                      // below the minimum: no wrap-around to a huge value
        {1, 100, 0, 0},
        {0, 100, 150, 100},                  // done beyond the total: full, not 150%
        {0, 1, kMax32, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " in " << c.minimum << ".." << c.maximum);
        EXPECT_EQ(GaugePercent(c.minimum, c.maximum, c.position), c.expected);
    }
}

TEST(GaugeArithmetic, OnlyAnEmptyRangeDrawsNothing) {
    EXPECT_FALSE(GaugeDraws(1, 1));
    EXPECT_FALSE(GaugeDraws(0, 0));
    EXPECT_TRUE(GaugeDraws(1, 0));  // the empty install still shows 0%
    EXPECT_TRUE(GaugeDraws(0, 99));
}

TEST(GaugeArithmetic, FillWidthRoundsTowardZeroAndStaysInTheBar) {
    struct Case {
        int width, percent, expected;
    };
    const Case cases[] = {
        {200, 33, 66}, {200, 0, 0},   {200, 100, 200}, {199, 50, 99}, {3, 99, 2},
        {200, 150, 200},  // never past the right edge
        {200, -5, 0},     {0, 50, 0},  {-10, 50, 0},
        {0x7FFFFFFF, 100, 0x7FFFFFFF},  // no overflow in width * percent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " px at " << c.percent << "%");
        EXPECT_EQ(GaugeFillWidth(c.width, c.percent), c.expected);
    }
}

TEST(GaugeArithmetic, TextIsThePercentWithASign) {
    EXPECT_EQ(GaugeText(0), "0%");
    EXPECT_EQ(GaugeText(42), "42%");
    EXPECT_EQ(GaugeText(100), "100%");
}

}  // namespace
