#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "color/ColorValue.h"
#include "color/Contrast.h"
#include "color/HexText.h"
#include "color/SafeColor.h"

namespace {

using color::GetHexVal;
using color::GetSafeColor;
using color::SplitColor;

struct Channels {
    int16_t red, green, blue;
};

Channels Split(int32_t value)
{
    Channels c{};
    SplitColor(value, c.red, c.green, c.blue);
    return c;
}

std::string Hex(int16_t r, int16_t g, int16_t b)
{
    std::string s = "untouched";
    GetHexVal(r, g, b, s);
    return s;
}

TEST(SplitColor, OrdinaryColorsComeApartIntoTheirBytes)
{
    const int16_t samples[] = {0, 1, 51, 127, 128, 200, 254, 255};
    for (int channel = 0; channel < 256; ++channel) {
        for (int16_t other : samples) {
            const Channels r = Split(color::RGB(channel, other, 255 - other));
            EXPECT_EQ(r.red, channel);
            EXPECT_EQ(r.green, other);
            EXPECT_EQ(r.blue, 255 - other);
            const Channels g = Split(color::RGB(other, channel, other));
            EXPECT_EQ(g.green, channel);
            EXPECT_EQ(g.red, other);
            const Channels b = Split(color::RGB(255 - other, other, channel));
            EXPECT_EQ(b.blue, channel);
            EXPECT_EQ(b.red, 255 - other);
        }
    }
    const Channels c = Split(0x00FF8040);
    EXPECT_EQ(c.red, 64);
    EXPECT_EQ(c.green, 128);
    EXPECT_EQ(c.blue, 255);
}

TEST(SplitColor, NegativeValuesGiveChannelsOfZeroOrBelow)
{
    const Channels minusOne = Split(-1);
    EXPECT_EQ(minusOne.red, -1);
    EXPECT_EQ(minusOne.green, 0);
    EXPECT_EQ(minusOne.blue, 0);

    const Channels sysColor = Split(static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(sysColor.red, -251);
    EXPECT_EQ(sysColor.green, -255);
    EXPECT_EQ(sysColor.blue, -255);

    // Against the magnitude split with the sign put back on each remainder.
    const int32_t values[] = {-2, -255, -256, -257, -65536, -65537, -16777215, -16777216,
                              -123456789, std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::min() + 1};
    for (int32_t v : values) {
        const int64_t m = -int64_t{v};
        const Channels c = Split(v);
        EXPECT_EQ(c.red, -(m % 256)) << v;
        EXPECT_EQ(c.green, -((m / 256) % 256)) << v;
        EXPECT_EQ(c.blue, -((m / 65536) % 256)) << v;
    }
}

TEST(GetHexVal, TwoUppercaseDigitsPerChannelRedFirst)
{
    EXPECT_EQ(Hex(255, 5, 0), "FF0500");
    EXPECT_EQ(Hex(0, 0, 0), "000000");
    EXPECT_EQ(Hex(10, 11, 12), "0A0B0C");
    EXPECT_EQ(Hex(255, 255, 255), "FFFFFF");

    auto two = [](int v) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02X", v);
        return std::string(buf);
    };
    for (int v = 0; v < 256; ++v) {
        const auto c = static_cast<int16_t>(v);
        const auto k = static_cast<int16_t>(255 - v);
        EXPECT_EQ(Hex(c, k, 0), two(v) + two(255 - v) + "00");
        EXPECT_EQ(Hex(0, c, k), "00" + two(v) + two(255 - v));
        EXPECT_EQ(Hex(k, 0, c), two(255 - v) + "00" + two(v));
    }
}

TEST(GetHexVal, ChannelsOutsideTheByteStayHexAndBounded)
{
    // Never reached by the program, but must still be well defined: the
    // 16-bit pattern of the channel.
    EXPECT_EQ(Hex(-1, 0, 0), "FFFF0000");
    EXPECT_EQ(Hex(256, 0, 0), "1000000");
    for (int v = std::numeric_limits<int16_t>::min(); v <= std::numeric_limits<int16_t>::max(); ++v) {
        const std::string s = Hex(static_cast<int16_t>(v), 0, 0);
        char expected[8];
        std::snprintf(expected, sizeof expected, "%02X", static_cast<unsigned>(static_cast<uint16_t>(v)));
        ASSERT_EQ(s, std::string(expected) + "0000") << v;
    }
}

TEST(GetSafeColor, EveryCellMatchesThePaletteEnumeration)
{
    static const int16_t steps[] = {0, 51, 102, 153, 204, 255};
    int16_t cell = 0;
    for (int16_t r : steps) {
        for (int16_t g : steps) {
            for (int16_t b : steps) {
                ++cell;
                int16_t red = -7, green = -7, blue = -7;
                std::string hex;
                const int32_t value = GetSafeColor(cell, red, green, blue, hex);
                ASSERT_EQ(red, r) << cell;
                ASSERT_EQ(green, g) << cell;
                ASSERT_EQ(blue, b) << cell;
                ASSERT_EQ(value, r + 256 * g + 65536 * b) << cell;
                char text[8];
                std::snprintf(text, sizeof text, "%02X%02X%02X", r, g, b);
                ASSERT_EQ(hex, text) << cell;
            }
        }
    }
    EXPECT_EQ(cell, 216);
}

TEST(GetSafeColor, KnownCells)
{
    struct Case {
        int16_t cell;
        int32_t value;
        const char* hex;
    };
    const Case cases[] = {
        {1, 0, "000000"},       {2, 3342336, "000033"}, {6, 255 * 65536, "0000FF"},
        {7, 51 * 256, "003300"}, {37, 51, "330000"},    {216, 16777215, "FFFFFF"},
    };
    for (const Case& c : cases) {
        int16_t r = 0, g = 0, b = 0;
        std::string hex;
        EXPECT_EQ(GetSafeColor(c.cell, r, g, b, hex), c.value) << c.cell;
        EXPECT_EQ(hex, c.hex) << c.cell;
    }
}

TEST(GetSafeColor, CellsOutsideThePaletteAreBlackAndTouchNothing)
{
    const int16_t outside[] = {0, 217, -1, std::numeric_limits<int16_t>::min(),
                               std::numeric_limits<int16_t>::max()};
    for (int16_t cell : outside) {
        int16_t r = 11, g = 22, b = 33;
        std::string hex = "keep";
        EXPECT_EQ(GetSafeColor(cell, r, g, b, hex), 0) << cell;
        EXPECT_EQ(r, 11);
        EXPECT_EQ(g, 22);
        EXPECT_EQ(b, 33);
        EXPECT_EQ(hex, "keep");
    }
}

TEST(RelativeLuminance, SrgbChannelsMadeLinearAndWeighted)
{
    // Published figures: the primaries' weights, and #767676, the lightest
    // grey with 4.5:1 against white.
    const struct {
        int32_t value;
        double luminance;
    } cases[] = {
        {0, 0.0},
        {0xFFFFFF, 1.0},
        {color::RGB(255, 0, 0), 0.2126},
        {color::RGB(0, 255, 0), 0.7152},
        {color::RGB(0, 0, 255), 0.0722},
        {color::RGB(0x76, 0x76, 0x76), 0.18116},
        {color::RGB(10, 10, 10), 10 / 255.0 / 12.92}, // below the curve's knee
        {-1, 0.0},                                    // no colour: black
        {0x1000000, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(color::RelativeLuminance(c.value), c.luminance, 5e-5) << std::hex << c.value;
}

} // namespace
