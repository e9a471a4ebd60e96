#include <gtest/gtest.h>

#include <QColor>
#include <QStringList>
#include <cstdlib>
#include <random>

#include "color/ColorValue.h"
#include "color/CopyFormat.h"
#include "color/NamedColors.h"
#include "color/ParseColorText.h"
#include "color/SafeColor.h"

namespace {

using color::CopyFormat;
using color::ParseColorText;

constexpr int32_t NoColor = -1;

// Expected colours are written 0xRRGGBB, as the texts spell them.
int32_t Rgb(int32_t rrggbb)
{
    return rrggbb < 0 ? NoColor : color::RGB(rrggbb >> 16, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

struct ParseCase {
    const char* text;
    int32_t rrggbb;  // NoColor: the text names no colour
};

// Reference values: "css" the worked examples of CSS Color 4 (hsl(120deg
// 100% 25%) is its dark green, rebeccapurple its hsl(270deg 50% 40%));
// "wpt" the conversions in the CSS Color 4 conformance tests of the web
// platform tests (css/css-color/lab-001, lch-001/004/007/008, oklab-001/009,
// oklch-004/006/009/010/011, display-p3-006: each gives the sRGB
// percentages of a Lab, LCH, OKLab or OKLCH colour, rounded here to bytes);
// the rest follow from the syntax.
const ParseCase ParseCases[] = {
    // Hexadecimal; alpha digits are read and ignored.
    {"#3366CC", 0x3366CC}, {"#3366cc", 0x3366CC}, {"#36c", 0x3366CC}, {"#36c8", 0x3366CC},
    {"#3366CC80", 0x3366CC}, {"3366cc", 0x3366CC}, {" \t#3366CC ;\n", 0x3366CC},
    {"#3366C", NoColor}, {"#3366CCC", NoColor}, {"366", NoColor}, {"#GG0000", NoColor}, {"# 3366CC", NoColor},
    {"3366CC80", NoColor}, {"#", NoColor},
    // rgb(): comma and space syntax, numbers and percentages.
    {"rgb(51 102 204)", 0x3366CC}, {"rgb(51, 102, 204)", 0x3366CC}, {"RGB( 51 , 102 , 204 )", 0x3366CC},
    {"rgba(51,102,204,.5)", 0x3366CC}, {"rgb(51 102 204 / 50%)", 0x3366CC}, {"rgba(51 102 204 / none)", 0x3366CC},
    {"rgb(20% 40% 80%)", 0x3366CC}, {"rgb(20%, 40%, 80%)", 0x3366CC}, {"rgb(20% 102 80%)", 0x3366CC},
    {"rgb(20%, 102, 80%)", NoColor}, {"rgb(none 102 204)", 0x0066CC}, {"rgb(51, none, 204)", NoColor},
    {"rgb(50% 0 0)", 0x800000}, {"rgb(300 0 0)", 0xFF0000}, {"rgb(-20 0 0)", 0x000000}, {"rgb(1e2% 0 0)", 0xFF0000},
    {"rgb(1.5e1 0 0)", 0x0F0000}, {"rgb(+5 5 -.5)", 0x050500}, {"rgb(1e999 0 0)", 0xFF0000},
    {"rgb(1e-999 1e999% 0)", 0x00FF00}, {"rgb(0.0001e400 0 0)", 0xFF0000},
    {"rgb(1e 0 0)", NoColor}, {"rgb(5. 0 0)", NoColor}, {"rgb(51deg 102 204)", NoColor},
    {"rgb(calc(51) 102 204)", NoColor},
    // Cut short, doubled, spaced or trailed.
    {"rgb(51 102 204", NoColor}, {"rgb(51 102 204))", NoColor}, {"rgb (51 102 204)", NoColor},
    {"rgb(51 102 204)x", NoColor}, {"rgb(51 102 204);;", NoColor}, {"rgb()", NoColor}, {"rgb(51 102)", NoColor},
    // Stray commas and slashes.
    {"rgb(51,102,204,)", NoColor}, {"rgb(51,,102,204)", NoColor}, {"rgb(,51,102,204)", NoColor},
    {"rgb(51,102 204)", NoColor}, {"rgb(51 102, 204)", NoColor}, {"rgb(51 102 204 / )", NoColor},
    {"rgb(51 102 / 204)", NoColor}, {"rgb(51 102 204 0.5)", NoColor}, {"rgb(51 102 204 / 1 / 1)", NoColor},
    {"rgb(51, 102, 204 / 1)", NoColor},
    // Digits of other scripts are not digits here: fullwidth, Arabic-Indic.
    {"rgb(\uFF15\uFF11 102 204)", NoColor}, {"rgb(\u0665\u0661 102 204)", NoColor},
    // hsl(): hue in any unit, wrapping; saturation below 0 is none.
    {"hsl(220 60% 50%)", 0x3366CC}, {"hsl(220deg 60% 50%)", 0x3366CC}, {"hsl(220, 60%, 50%)", 0x3366CC},
    {"hsla(220, 60%, 50%, 0.5)", 0x3366CC}, {"hsl(220 60 50 / 0.5)", 0x3366CC}, {"hsl(220, 60, 50)", NoColor},
    {"hsl(-140 60% 50%)", 0x3366CC}, {"hsl(-120 100% 50%)", 0x0000FF}, {"hsl(0.5turn 100% 50%)", 0x00FFFF},
    {"hsl(3.14159265rad 100% 50%)", 0x00FFFF}, {"hsl(200grad 100% 50%)", 0x00FFFF},
    {"hsl(220 -60% 50%)", 0x808080}, {"hsl(60% 50% 50%)", NoColor}, {"hsl(120deg 100% 25%)", 0x008000},  // css
    {"hsl(1e999 100% 50%)", 0xFF0000},
    // hsb() and hsv(), as the copy format writes them; hwb().
    {"hsb(220, 75%, 80%)", 0x3366CC}, {"hsv(220 75% 80%)", 0x3366CC}, {"hwb(220 20% 20%)", 0x3366CC},
    {"hwb(0 60% 60%)", 0x808080}, {"hwb(220, 20%, 20%)", NoColor},
    // lab() and lch(): D50, Bradford-adapted to sRGB.
    {"lab(46.2775% -47.5621 48.5837)", 0x008000},   // wpt
    {"lch(46.2775% 67.9892 134.3912)", 0x008000},   // wpt
    {"lch(50% 50 0)", 0xC14E79},                    // wpt: rgb(75.6208% 30.4487% 47.5634%)
    {"lch(55% 60 270)", 0x2187ED},                  // wpt: rgb(12.8128% 53.105% 92.7645%)
    {"lch(54% 35 118)", 0x728949},                  // wpt: rgb(44.8436% 53.537% 28.8112%)
    {"lch(86.6146% 148.1135 136.0089)", 0x00FF00},  // wpt: display-p3 green, clamped into sRGB
    {"lab(0% 0 0)", 0x000000}, {"lab(100% 0 0)", 0xFFFFFF}, {"lab(150% 0 0)", 0xFFFFFF},
    {"lch(0% 110 60)", 0x000000},  // wpt: no lightness is black
    {"lab(50 1e999 0)", 0xFF00FF}, {"lab(50 50deg 0)", NoColor},
    // oklab() and oklch().
    {"oklab(51.975% -0.1403 0.10768)", 0x008000},   // wpt
    {"oklab(51.975% -35.075% 26.92%)", 0x008000},   // wpt
    {"oklch(51.975% 44.215% 142.495)", 0x008000},   // wpt
    {"oklch(80% 0.15 160)", 0x52DB9C},              // wpt: rgb(32.022% 85.805% 61.147%)
    {"oklch(50% 0.2 0)", 0xB4065F},                 // wpt: rgb(70.492% 2.351% 37.073%)
    {"oklch(0% 1.1 60)", 0x000000},                 // wpt
    {"oklch(100% 110 60)", 0xFFFFFF},               // wpt
    {"oklch(0.532 0.168 262.3)", 0x3366CC}, {"oklch(0.7 none 30)", 0x9E9E9E}, {"oklab(0.5, 0, 0)", NoColor},
    // Names, in any case; "transparent" and keywords that are no colour are refused.
    {"rebeccapurple", 0x663399}, {"RebeccaPurple", 0x663399}, {"  grey ;", 0x808080},
    {"transparent", NoColor}, {"currentcolor", NoColor}, {"re d", NoColor}, {"blac\u212A", NoColor},
    {"none", NoColor}, {"", NoColor}, {"  ", NoColor}, {";", NoColor},
};

TEST(ColorText, ParsesEveryNotation)
{
    for (const ParseCase& c : ParseCases) {
        const std::optional<int32_t> got = ParseColorText(c.text);
        EXPECT_EQ(got.value_or(NoColor), Rgb(c.rrggbb)) << '"' << c.text << '"';
    }
}

struct FormatCase {
    int32_t rrggbb;
    CopyFormat format;
    const char* text;
};

// Reference texts: #3366CC as the window's copy formats are meant to write
// it; "css" and "wpt" as above (green is oklch(51.975% 0.17686 142.495) in
// oklch-011, white oklab(100% 0 0) in oklab-003); "api" the HSL and HSV
// that thecolorapi.com gives for the colour.
const FormatCase FormatCases[] = {
    {0x3366CC, CopyFormat::HexUpper, "#3366CC"},          {0x3366CC, CopyFormat::HexLower, "#3366cc"},
    {0x3366CC, CopyFormat::HexBare, "3366CC"},            {0x3366CC, CopyFormat::RgbSpace, "rgb(51 102 204)"},
    {0x3366CC, CopyFormat::RgbComma, "rgb(51, 102, 204)"}, {0x3366CC, CopyFormat::Hsl, "hsl(220 60% 50%)"},
    {0x3366CC, CopyFormat::Hsb, "hsb(220, 75%, 80%)"},    {0x3366CC, CopyFormat::Oklch, "oklch(0.532 0.168 262.3)"},
    {0x008000, CopyFormat::Hsl, "hsl(120 100% 25%)"},           // css
    {0x008000, CopyFormat::Oklch, "oklch(0.520 0.177 142.5)"},  // wpt
    {0x663399, CopyFormat::Hsl, "hsl(270 50% 40%)"},            // css
    {0x882919, CopyFormat::Hsl, "hsl(9 69% 32%)"},   {0x882919, CopyFormat::Hsb, "hsb(9, 82%, 53%)"},    // api
    {0x982529, CopyFormat::Hsl, "hsl(358 61% 37%)"}, {0x982529, CopyFormat::Hsb, "hsb(358, 76%, 60%)"},  // api
    {0xFFFFFF, CopyFormat::Oklch, "oklch(1.000 0.000 0.0)"},    // wpt; a grey has no hue
    {0x777777, CopyFormat::Oklch, "oklch(0.569 0.000 0.0)"},    {0x000000, CopyFormat::Hsb, "hsb(0, 0%, 0%)"},
    {0xFF0001, CopyFormat::Hsl, "hsl(0 100% 50%)"},             // 359.76 degrees round to 0
    {NoColor, CopyFormat::HexUpper, "#000000"},                 // no colour copies as black
};

TEST(ColorText, WritesEveryFormat)
{
    for (const FormatCase& c : FormatCases)
        EXPECT_EQ(color::FormatColorText(Rgb(c.rrggbb), c.format), c.text) << std::hex << c.rrggbb;
    EXPECT_EQ(color::FormatColorText(0x1000000, CopyFormat::RgbSpace), "rgb(0 0 0)");
}

int Distance(int32_t a, int32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return worst;
}

// Lossless formats give back the very colour; the rounded ones (whole
// percent, three decimals) a colour a few steps away at most.
void ExpectRoundTrip(int32_t value)
{
    for (CopyFormat format : color::CopyFormats) {
        const std::string text = color::FormatColorText(value, format);
        const std::optional<int32_t> back = ParseColorText(text);
        ASSERT_TRUE(back.has_value()) << text;
        if (color::IsLossless(format))
            ASSERT_EQ(*back, value) << text;
        else
            ASSERT_LE(Distance(*back, value), 10) << text;
    }
}

TEST(ColorText, RoundTripsTheSafeColorsAndRandomOnes)
{
    for (int16_t cell = 1; cell <= 216; ++cell) {
        int16_t r, g, b;
        std::string hex;
        ExpectRoundTrip(color::GetSafeColor(cell, r, g, b, hex));
    }
    std::mt19937 random(20260419);
    std::uniform_int_distribution<int32_t> anyColor(0, 0xFFFFFF);
    for (int i = 0; i < 5000; ++i)
        ExpectRoundTrip(anyColor(random));
}

// The table against the toolkit's own list of the same names, which lacks
// only rebeccapurple and has "transparent" besides.
TEST(ColorText, NamesAgreeWithTheToolkit)
{
    EXPECT_EQ(color::NamedColors().size(), 148u);
    int compared = 0;
    for (const QString& name : QColor::colorNames()) {
        if (name == QLatin1String("transparent"))
            continue;
        const QColor qt = QColor::fromString(name);
        EXPECT_EQ(ParseColorText(name.toStdString()), color::RGB(qt.red(), qt.green(), qt.blue())) << name.toStdString();
        ++compared;
    }
    EXPECT_EQ(compared, 147);
}

TEST(ColorText, FormatKeysAreStable)
{
    for (CopyFormat format : color::CopyFormats)
        EXPECT_EQ(color::CopyFormatFromKey(color::CopyFormatKey(format)), format);
    EXPECT_FALSE(color::CopyFormatFromKey("HEX").has_value());
}

} // namespace
