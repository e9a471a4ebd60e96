#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "NonFinite.h"
#include "color/Mappings.h"
#include "tests/support/Positions.h"

namespace {

using namespace color;

constexpr PickerGeometry kG = MakePickerGeometry();

TEST(ForwardMappings, EveryFieldPositionAgainstIntegerDivision)
{
    // For positions in the field the quotients are never within rounding
    // error of an integer unless they are one, so integer division is an
    // exact reference for "divide in double, then floor".
    for (int32_t p = kG.FieldLeft; p <= kG.FieldRight; ++p) {
        ASSERT_EQ(FieldXToHue(p, kG), expected::HueOfFieldX(p)) << p;
        ASSERT_EQ(FieldXToSaturation(p, kG), expected::PercentOfFieldX(p)) << p;
        ASSERT_EQ(FieldYToBrightness(p, kG), expected::PercentOfFieldY(p)) << p;
        ASSERT_EQ(FieldYToSaturation(p, kG), expected::PercentOfFieldY(p)) << p;
        ASSERT_EQ(StripYToHue(static_cast<float>(p), kG), expected::HueOfStripRow(p)) << p;
        ASSERT_EQ(StripYToPercent(static_cast<float>(p), kG), expected::PercentOfFieldY(p)) << p;
    }
}

TEST(ForwardMappings, FractionalStripPositions)
{
    // Every quarter pixel of the strip: y = k / 4.
    for (int32_t k = 4 * kG.StripTop; k <= 4 * kG.StripBottom; ++k) {
        const float y = static_cast<float>(k) / 4.0f;
        const int64_t fromBottom4 = 4 * 265 - k;
        ASSERT_EQ(StripYToHue(y, kG), fromBottom4 * 360 / (4 * 255)) << y;
        ASSERT_EQ(StripYToPercent(y, kG), fromBottom4 * 100 / (4 * 255)) << y;
    }
}

TEST(ForwardMappings, EdgesAndKnownPoints)
{
    EXPECT_EQ(FieldXToHue(10, kG), 0);
    EXPECT_EQ(FieldXToHue(265, kG), 360);
    EXPECT_EQ(FieldXToSaturation(265, kG), 100);
    EXPECT_EQ(FieldXToHue(137, kG), 179);
    EXPECT_EQ(FieldXToSaturation(137, kG), 49);
    EXPECT_EQ(FieldXToHue(138, kG), 180);
    EXPECT_EQ(FieldXToSaturation(138, kG), 50);
    EXPECT_EQ(FieldYToBrightness(10, kG), 100);
    EXPECT_EQ(FieldYToBrightness(265, kG), 0);
    EXPECT_EQ(FieldYToSaturation(10, kG), 100);
    EXPECT_EQ(StripYToHue(10.0f, kG), 360);
    EXPECT_EQ(StripYToHue(265.0f, kG), 0);
    EXPECT_EQ(StripYToPercent(10.0f, kG), 100);
}

TEST(ForwardMappings, PositionsFarOutsideNeverOverflow)
{
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    // Hue scales by more than one, so the extremes saturate...
    EXPECT_EQ(FieldXToHue(big, kG), big);
    EXPECT_EQ(FieldXToHue(small, kG), small);
    // ...while percentages of any int32 offset still fit.
    EXPECT_EQ(FieldYToBrightness(small, kG), ((int64_t{1} << 31) + 265) * 100 / 255);
    EXPECT_EQ(FieldYToSaturation(big, kG), -((int64_t{big} - 265) * 100 / 255) - 1);
    EXPECT_EQ(FieldXToSaturation(-245, kG), -100);
    EXPECT_EQ(FieldXToSaturation(-246, kG), -101);
    EXPECT_EQ(StripYToHue(std::numeric_limits<float>::infinity(), kG), small);
    EXPECT_EQ(StripYToPercent(-std::numeric_limits<float>::infinity(), kG), big);
    EXPECT_EQ(StripYToHue(std::numeric_limits<float>::max(), kG), small);
    EXPECT_EQ(StripYToHue(std::numeric_limits<float>::quiet_NaN(), kG), 0);
}

TEST(BackwardMappings, EveryWholeBoxValue)
{
    for (int h = 0; h <= 360; ++h) {
        ASSERT_EQ(HueToFieldX(h, kG), expected::HueFieldX(h)) << h;
        ASSERT_EQ(HueToStripYFloored(h, kG), expected::HueStripYFloored(h)) << h;
        ASSERT_EQ(HueToStripY(h, kG), expected::HueStripY(h)) << h;
    }
    for (int s = 0; s <= 100; ++s) {
        ASSERT_EQ(SaturationToFieldX(s, kG), expected::PercentFieldX(s)) << s;
        ASSERT_EQ(SaturationToFieldY(s, kG), expected::PercentFieldY(s)) << s;
        ASSERT_EQ(BrightnessToFieldY(s, kG), expected::PercentFieldY(s)) << s;
    }
}

TEST(BackwardMappings, KnownPositions)
{
    EXPECT_EQ(HueToStripY(180, kG), 137.5f);
    EXPECT_EQ(HueToStripYFloored(180, kG), 137.0f);
    EXPECT_EQ(HueToStripY(1, kG), 264.29166f);
    EXPECT_EQ(HueToStripY(360, kG), static_cast<float>(kG.StripTop));
    EXPECT_EQ(HueToStripY(0, kG), static_cast<float>(kG.StripBottom));
    EXPECT_EQ(HueToStripY(12.5, kG), 256.14584f);

    EXPECT_EQ(HueToFieldX(180, kG), 138);
    EXPECT_EQ(HueToFieldX(12, kG), 18);
    EXPECT_EQ(HueToFieldX(36, kG), 36);
    EXPECT_EQ(HueToFieldX(360, kG), 265);
    EXPECT_EQ(HueToFieldX(0, kG), 10);

    EXPECT_EQ(SaturationToFieldX(30, kG), 86);
    EXPECT_EQ(SaturationToFieldX(50, kG), 138);
    EXPECT_EQ(SaturationToFieldX(100, kG), 265);
    EXPECT_EQ(BrightnessToFieldY(50, kG), 138);
    EXPECT_EQ(BrightnessToFieldY(10, kG), 240);
    EXPECT_EQ(BrightnessToFieldY(30, kG), 188);
    EXPECT_EQ(SaturationToFieldY(50, kG), 138);
    EXPECT_EQ(SaturationToFieldY(10, kG), 240);
    EXPECT_EQ(SaturationToFieldY(30, kG), 188);
    EXPECT_EQ(SaturationToFieldY(100, kG), 10);
}

TEST(RoundTrips, TypedValuesReadBackTheSameOrOneLess)
{
    // Forward mappings floor and backward ones round, so a typed value may
    // lose one on its way back, never more and never gain.
    for (int s = 0; s <= 100; ++s) {
        const int fromX = FieldXToSaturation(SaturationToFieldX(s, kG), kG);
        const int fromY = FieldYToBrightness(BrightnessToFieldY(s, kG), kG);
        const int fromSatY = FieldYToSaturation(SaturationToFieldY(s, kG), kG);
        EXPECT_TRUE(fromX == s || fromX == s - 1) << s << " -> " << fromX;
        EXPECT_TRUE(fromY == s || fromY == s - 1) << s << " -> " << fromY;
        EXPECT_EQ(fromSatY, fromY) << s;
    }
    for (int h = 0; h <= 360; ++h) {
        const int fromX = FieldXToHue(HueToFieldX(h, kG), kG);
        EXPECT_TRUE(fromX == h || fromX == h - 1) << h << " -> " << fromX;
        const int fromStrip = StripYToHue(HueToStripY(h, kG), kG);
        EXPECT_TRUE(fromStrip == h || fromStrip == h - 1) << h << " -> " << fromStrip;
        // Flooring the position moves it up the strip, towards larger hues.
        const int fromFloored = StripYToHue(HueToStripYFloored(h, kG), kG);
        EXPECT_TRUE(fromFloored == h || fromFloored == h + 1) << h << " -> " << fromFloored;
    }
    EXPECT_EQ(FieldXToSaturation(SaturationToFieldX(30, kG), kG), 29);
    EXPECT_EQ(FieldYToBrightness(BrightnessToFieldY(50, kG), kG), 49);
}

TEST(RoundTrips, TypedHueOnTheStripKeepsItsFraction)
{
    EXPECT_EQ(StripYToHue(HueToStripY(180, kG), kG), 180);
    EXPECT_EQ(StripYToHue(HueToStripY(1, kG), kG), 1);
    EXPECT_EQ(StripYToHue(HueToStripY(360, kG), kG), 360);
    EXPECT_EQ(StripYToHue(HueToStripYFloored(180, kG), kG), 180);
    // The fraction survives in single precision: typed and floored
    // positions differ by less than a pixel and the typed one is never above.
    for (int h = 0; h <= 360; ++h) {
        const float typed = HueToStripY(h, kG);
        const float floored = HueToStripYFloored(h, kG);
        EXPECT_GE(typed, floored) << h;
        EXPECT_LT(typed - floored, 1.0f) << h;
    }
}

TEST(BackwardMappings, ExtremeValuesStayInsideThePicker)
{
    const double extremes[] = {kInf, -kInf, kNaN, 1e308, -1e308, std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::lowest(), 1e20, -1e20, 2147483648.0,
                               -2147483649.0, 1e10, -1e10, 361, -1, 101, -0.5, 100.2, 360.7,
                               std::numeric_limits<double>::denorm_min()};
    for (double v : extremes) {
        const float typed = HueToStripY(v, kG);
        const float floored = HueToStripYFloored(v, kG);
        EXPECT_TRUE(typed >= kG.StripTop && typed <= kG.StripBottom) << v;
        EXPECT_TRUE(floored >= kG.StripTop && floored <= kG.StripBottom) << v;
        EXPECT_EQ(floored, std::floor(floored)) << v;
        for (int32_t x : {HueToFieldX(v, kG), SaturationToFieldX(v, kG)})
            EXPECT_TRUE(x >= kG.FieldLeft && x <= kG.FieldRight) << v;
        for (int32_t y : {SaturationToFieldY(v, kG), BrightnessToFieldY(v, kG)})
            EXPECT_TRUE(y >= kG.FieldTop && y <= kG.FieldBottom) << v;
    }
}

TEST(BackwardMappings, LargeValuesGoToTheNearEdgeAndNaNToTheMinimum)
{
    EXPECT_EQ(HueToStripY(1e308, kG), 10.0f);
    EXPECT_EQ(HueToStripY(-1e308, kG), 265.0f);
    EXPECT_EQ(HueToStripYFloored(kInf, kG), 10.0f);
    EXPECT_EQ(HueToStripYFloored(-kInf, kG), 265.0f);
    EXPECT_EQ(HueToFieldX(kInf, kG), 265);
    EXPECT_EQ(HueToFieldX(-kInf, kG), 10);
    EXPECT_EQ(SaturationToFieldX(1e308, kG), 265);
    EXPECT_EQ(SaturationToFieldX(-1e308, kG), 10);
    EXPECT_EQ(SaturationToFieldY(1e308, kG), 10);
    EXPECT_EQ(SaturationToFieldY(-1e308, kG), 265);
    EXPECT_EQ(BrightnessToFieldY(kInf, kG), 10);
    EXPECT_EQ(BrightnessToFieldY(-kInf, kG), 265);
    EXPECT_EQ(SaturationToFieldX(101, kG), 265);
    EXPECT_EQ(BrightnessToFieldY(-1, kG), 265);
    EXPECT_EQ(HueToStripY(361, kG), 10.0f);

    EXPECT_EQ(HueToStripY(kNaN, kG), 10.0f);
    EXPECT_EQ(HueToStripYFloored(kNaN, kG), 10.0f);
    EXPECT_EQ(HueToFieldX(kNaN, kG), 10);
    EXPECT_EQ(SaturationToFieldX(kNaN, kG), 10);
    EXPECT_EQ(SaturationToFieldY(kNaN, kG), 10);
    EXPECT_EQ(BrightnessToFieldY(kNaN, kG), 10);
}

} // namespace

TEST(BackwardMappings, PercentOnTheStripReadsBackTheSameOrOneLess)
{
    EXPECT_EQ(PercentToStripY(100, kG), 10.0f);
    EXPECT_EQ(PercentToStripY(0, kG), 265.0f);
    EXPECT_EQ(PercentToStripY(50, kG), 137.5f);
    for (int v = 0; v <= 100; ++v) {
        const float y = PercentToStripY(v, kG);
        ASSERT_GE(y, 10.0f);
        ASSERT_LE(y, 265.0f);
        const int back = StripYToPercent(y, kG);
        ASSERT_TRUE(back == v || back == v - 1) << v << " reads " << back;
    }
    for (double v : {1e308, 101.0, kInf}) {
        EXPECT_EQ(PercentToStripY(v, kG), 10.0f) << v;
        EXPECT_EQ(PercentToStripY(-v, kG), 265.0f) << v;
    }
    EXPECT_EQ(PercentToStripY(kNaN, kG), 10.0f);
}

TEST(HueCheck, OnlyWholeDegreesFromZeroTo360Pass)
{
    for (double h : {0.0, -0.0, 1.0, 180.0, 359.0, 360.0})
        EXPECT_TRUE(IsValidHue(h)) << h;
    for (double h : {-1.0, 360.5, 361.0, 12.5, 0.1, -1e-300, 1e300, kInf, -kInf, kNaN})
        EXPECT_FALSE(IsValidHue(h)) << h;
}
