#include <gtest/gtest.h>

#include "color/ColorValue.h"
#include "color/Contrast.h"

namespace {

using color::ContrastRatio;
using color::ContrastRatioText;
using color::RGB;

const int32_t White = RGB(255, 255, 255);

TEST(Contrast, GuidelineExamples)
{
    EXPECT_EQ(ContrastRatio(RGB(0, 0, 0), White), 21.0);
    EXPECT_EQ(ContrastRatio(White, RGB(0, 0, 0)), 21.0);
    EXPECT_EQ(ContrastRatio(RGB(51, 102, 204), RGB(51, 102, 204)), 1.0);
    EXPECT_EQ(ContrastRatioText(21.0), "21:1");

    const double grey77 = ContrastRatio(RGB(0x77, 0x77, 0x77), White);
    EXPECT_EQ(ContrastRatioText(grey77), "4.48:1");
    const color::ContrastGrades g77 = color::GradeContrast(grey77);
    EXPECT_FALSE(g77.aaNormal);
    EXPECT_TRUE(g77.aaLarge);

    const double grey76 = ContrastRatio(White, RGB(0x76, 0x76, 0x76));
    EXPECT_EQ(ContrastRatioText(grey76), "4.54:1");
    const color::ContrastGrades g76 = color::GradeContrast(grey76);
    EXPECT_TRUE(g76.aaNormal && g76.aaLarge && g76.aaaLarge);
    EXPECT_FALSE(g76.aaaNormal);
}

TEST(Contrast, TextNeverRoundsUpToALevelNotMet)
{
    const struct {
        double ratio;
        const char* text;
    } cases[] = {
        {1.0, "1:1"},       {4.5, "4.5:1"},   {4.05, "4.05:1"}, {4.4999, "4.49:1"}, {4.496, "4.49:1"},
        {4.494, "4.49:1"},  {2.996, "2.99:1"}, {3.0, "3:1"},    {6.999, "6.99:1"},  {7.004, "7:1"},
        {12.345, "12.35:1"}, {20.996, "21:1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContrastRatioText(c.ratio), c.text) << c.ratio;
}

} // namespace
