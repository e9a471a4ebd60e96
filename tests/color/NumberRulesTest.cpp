#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "NonFinite.h"
#include "color/NumberRules.h"

namespace {

using color::RoundToInt16;
using color::RoundToInt32;


TEST(Round, TiesGoToTheEvenNeighbour)
{
    struct Case {
        double x;
        int expected;
    };
    const Case cases[] = {
        {137.5, 138}, {86.5, 86},   {127.5, 128}, {178.5, 178}, {0.5, 0},    {1.5, 2},
        {2.5, 2},     {-0.5, 0},    {-1.5, -2},   {-2.5, -2},   {252.45, 252}, {95.75, 96},
        {0.49999999999999994, 0},   {-0.49999999999999994, 0},  {1e-300, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundToInt16(c.x), c.expected) << c.x;
        EXPECT_EQ(RoundToInt32(c.x), c.expected) << c.x;
        EXPECT_EQ(color::RoundHalfEven(c.x), c.expected) << c.x;
    }
}

// The cheap rounding must agree with the library's at every width where
// its trick could break: around the limit where it hands over, at halves,
// and for values that are whole or no numbers at all.
TEST(Round, CheapRoundingAgreesWithTheLibraryEverywhere)
{
    const double limits[] = {0.0, 1.0, 4194304.0, 8388608.0, 2251799813685248.0, 4503599627370496.0,
                             9007199254740992.0};
    for (double limit : limits)
        for (double offset = -3.0; offset <= 3.0; offset += 0.25)
            for (double sign : {1.0, -1.0}) {
                const double d = sign * (limit + offset);
                EXPECT_EQ(color::RoundHalfEven(d), std::nearbyint(d)) << d;
                const float f = static_cast<float>(d);
                EXPECT_EQ(color::RoundHalfEven(f), std::nearbyint(f)) << f;
                for (double ulps : {-1.0, 1.0}) {
                    const double n = std::nextafter(d, d + ulps);
                    EXPECT_EQ(color::RoundHalfEven(n), std::nearbyint(n)) << n;
                    const float m = std::nextafter(f, f + float(ulps));
                    EXPECT_EQ(color::RoundHalfEven(m), std::nearbyint(m)) << m;
                }
            }
    for (double x : {1e300, -1e300, kInf, -kInf})
        EXPECT_EQ(color::RoundHalfEven(x), x);
    EXPECT_TRUE(std::isnan(color::RoundHalfEven(kNaN)));
    EXPECT_TRUE(std::isnan(color::RoundHalfEven(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ(color::RoundHalfEven(std::numeric_limits<float>::infinity()), std::numeric_limits<float>::infinity());
}

TEST(Round, Int16OverflowIsDetectedAtTheLimits)
{
    EXPECT_EQ(RoundToInt16(32767.0), 32767);
    EXPECT_EQ(RoundToInt16(32767.49), 32767);
    EXPECT_EQ(RoundToInt16(32766.5), 32766);
    EXPECT_EQ(RoundToInt16(-32768.0), -32768);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768); // the even neighbour is in range
    EXPECT_EQ(RoundToInt16(-32767.5), -32768);

    const double outside[] = {32767.5, 32768.0, -32768.51, -32769.0, 1e300, -1e300, kInf, -kInf, kNaN};
    for (double x : outside)
        EXPECT_FALSE(RoundToInt16(x).has_value()) << x;
}

TEST(Round, Int32OverflowIsDetectedAtTheLimits)
{
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483647.49), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(RoundToInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundToInt32(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundToInt32(32768.0), 32768);

    const double outside[] = {2147483647.5, 2147483648.0, -2147483648.51, -2147483649.0,
                              1e300, -1e300, kInf, -kInf, kNaN};
    for (double x : outside)
        EXPECT_FALSE(RoundToInt32(x).has_value()) << x;
}

TEST(IntegerText, DigitsWithMinusForNegatives)
{
    EXPECT_EQ(color::IntegerText(255), "255");
    EXPECT_EQ(color::IntegerText(0), "0");
    EXPECT_EQ(color::IntegerText(-5), "-5");
    EXPECT_EQ(color::IntegerText(360), "360");
    EXPECT_EQ(color::IntegerText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(color::IntegerText(std::numeric_limits<int64_t>::max()), "9223372036854775807");
}

} // namespace
