#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "color/ColorValue.h"
#include "color/Mappings.h"

namespace {

using color::HueMix;
using color::PercentForMix;

struct Rgb {
    int red, green, blue;
};

Rgb MixOf(int16_t r, int16_t g, int16_t b, int16_t S, int16_t B)
{
    const int32_t value = HueMix(r, g, b, S, B);
    int16_t red = 0, green = 0, blue = 0;
    color::SplitColor(value, red, green, blue);
    EXPECT_EQ(value, color::RGB(red, green, blue)) << "not an ordinary colour: " << value;
    return {red, green, blue};
}

int MixOfRed(int16_t c, int16_t S, int16_t B)
{
    return MixOf(c, 0, 0, S, B).red;
}

TEST(HueMix, Examples)
{
    EXPECT_EQ(MixOfRed(0, 50, 100), 128);  // 127.5
    EXPECT_EQ(MixOfRed(0, 30, 100), 178);  // 178.5
    EXPECT_EQ(MixOfRed(128, 50, 50), 96);  // 95.75
    EXPECT_EQ(MixOfRed(0, 1, 100), 252);   // 252.45
    EXPECT_EQ(MixOfRed(0, 3, 100), 247);
    for (int16_t S = 0; S <= 100; ++S)
        EXPECT_EQ(MixOfRed(255, S, 50), 128) << S;  // 127.5 whatever S
}

TEST(HueMix, EveryChannelSaturationAndBrightnessStaysNearTheExactValue)
{
    // Exact value: ((255 - c)(100 - S) + 100 c) B / 10000. The result is its
    // nearest integer, either neighbour allowed on an exact half.
    for (int c = 0; c <= 255; ++c) {
        for (int S = 0; S <= 100; ++S) {
            for (int B = 0; B <= 100; ++B) {
                const int v = MixOfRed(static_cast<int16_t>(c), static_cast<int16_t>(S), static_cast<int16_t>(B));
                const int64_t num = (int64_t{255 - c} * (100 - S) + 100 * c) * B;
                const int64_t distance = std::llabs(int64_t{v} * 10000 - num);
                ASSERT_LE(distance, 5000) << c << ' ' << S << ' ' << B << " -> " << v;
                ASSERT_TRUE(v >= 0 && v <= 255);
            }
        }
    }
}

TEST(HueMix, OutOfRangeInputsAreClampedNotOverflowed)
{
    const int16_t lo = std::numeric_limits<int16_t>::min();
    const int16_t hi = std::numeric_limits<int16_t>::max();
    const int16_t values[] = {lo, -1000, -1, 0, 50, 100, 101, 255, 256, 1000, hi};
    for (int16_t c : values) {
        for (int16_t S : values) {
            for (int16_t B : values) {
                const Rgb mix = MixOf(c, 255, 0, S, B);
                ASSERT_TRUE(mix.red >= 0 && mix.red <= 255) << c << ' ' << S << ' ' << B;
                ASSERT_TRUE(mix.green >= 0 && mix.green <= 255);
                ASSERT_TRUE(mix.blue >= 0 && mix.blue <= 255);
            }
        }
    }
    EXPECT_EQ(MixOfRed(0, -20, 100), MixOfRed(0, 0, 100));
    EXPECT_EQ(MixOfRed(0, 50, 500), MixOfRed(0, 50, 100));
    EXPECT_EQ(MixOfRed(-1, 50, 100), MixOfRed(0, 50, 100));
}

TEST(PercentForMix, ClampsThenRoundsHalfToEven)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int16_t expected;
    };
    const Case cases[] = {
        {50, 50},     {50.5, 50},  {51.5, 52},   {0.5, 0},    {99.5, 100}, {99.4, 99},
        {-3, 0},      {-0.5, 0},   {100.4, 100}, {100.5, 100}, {101, 100}, {1e308, 100},
        {-1e308, 0},  {inf, 100},  {-inf, 0},    {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentForMix(c.value), c.expected) << c.value;
}

} // namespace
