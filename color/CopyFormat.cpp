// Colour value -> text. Hue, saturation, lightness and brightness are
// computed exactly from the whole channels as fractions and rounded, halves
// up, so that no floating-point residue decides a rounding:
//   max, min of the channels, d = max - min (all 0..255);
//   hue = 60 (g - b) / d when red is largest, 60 (b - r) / d + 120 when
//   green is, 60 (r - g) / d + 240 when blue is, taken into 0..360 (0 for
//   greys); HSL lightness = (max + min) / 510, saturation =
//   d / (255 - |max + min - 255|); HSB brightness = max / 255, saturation
//   = d / max. OKLCH comes from the OKLab conversion (ColorSpaces.cpp).
// Numbers are written with integer arithmetic, never through the C
// locale, which would put a decimal comma in some languages.
#include "color/CopyFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "color/ColorSpaces.h"
#include "color/ColorValue.h"
#include "color/HexText.h"

namespace color {

namespace {

struct Channels {
    int red, green, blue;
};

Channels ChannelsOf(int32_t colorValue)
{
    if (!IsColor(colorValue))
        colorValue = 0;
    return {colorValue & 0xFF, (colorValue >> 8) & 0xFF, (colorValue >> 16) & 0xFF};
}

// num / den rounded to the nearest whole number, halves up (num >= 0, den > 0).
int RoundRatio(long num, long den)
{
    return static_cast<int>((2 * num + den) / (2 * den));
}

struct HueParts {
    int hue;   // whole degrees, 0..359
    int max, min;
};

HueParts HueOf(const Channels& c)
{
    const int max = std::max({c.red, c.green, c.blue});
    const int min = std::min({c.red, c.green, c.blue});
    const int d = max - min;
    if (d == 0)
        return {0, max, min};
    long num;
    if (max == c.red)
        num = 60L * (c.green - c.blue);
    else if (max == c.green)
        num = 60L * (c.blue - c.red) + 120L * d;
    else
        num = 60L * (c.red - c.green) + 240L * d;
    if (num < 0)
        num += 360L * d;
    const int hue = RoundRatio(num, d);
    return {hue == 360 ? 0 : hue, max, min};
}

std::string Whole(int v)
{
    return std::to_string(v);
}

// A non-negative value with a fixed number of decimals.
std::string Fixed(long scaled, int decimals)
{
    long unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    std::string fraction = std::to_string(scaled % unit);
    fraction.insert(0, static_cast<size_t>(decimals) - fraction.size(), '0');
    return std::to_string(scaled / unit) + '.' + fraction;
}

long Scaled(double v, double unit)
{
    return v > 0.0 ? std::lround(v * unit) : 0;
}

std::string Hex(const Channels& c)
{
    std::string hex;
    GetHexVal(static_cast<int16_t>(c.red), static_cast<int16_t>(c.green), static_cast<int16_t>(c.blue), hex);
    return hex;
}

std::string OklchText(int32_t colorValue)
{
    const OkLab lab = SrgbToOkLab(FromColorValue(colorValue));
    const long lightness = Scaled(lab.L, 1000.0);
    const long chroma = Scaled(std::hypot(lab.a, lab.b), 1000.0);
    // A grey has no hue; what atan2 makes of its rounding noise is not one.
    long hue = 0;
    if (chroma > 0) {
        double degrees = std::atan2(lab.b, lab.a) * 180.0 / std::numbers::pi;
        if (degrees < 0.0)
            degrees += 360.0;
        hue = Scaled(degrees, 10.0) % 3600;
    }
    return "oklch(" + Fixed(lightness, 3) + ' ' + Fixed(chroma, 3) + ' ' + Fixed(hue, 1) + ')';
}

} // namespace

std::string FormatColorText(int32_t colorValue, CopyFormat format)
{
    const Channels c = ChannelsOf(colorValue);
    switch (format) {
    case CopyFormat::HexUpper:
        return '#' + Hex(c);
    case CopyFormat::HexLower: {
        std::string hex = '#' + Hex(c);
        for (char& ch : hex)
            if (ch >= 'A' && ch <= 'F')
                ch = static_cast<char>(ch - 'A' + 'a');
        return hex;
    }
    case CopyFormat::HexBare:
        return Hex(c);
    case CopyFormat::RgbSpace:
        return "rgb(" + Whole(c.red) + ' ' + Whole(c.green) + ' ' + Whole(c.blue) + ')';
    case CopyFormat::RgbComma:
        return "rgb(" + Whole(c.red) + ", " + Whole(c.green) + ", " + Whole(c.blue) + ')';
    case CopyFormat::Hsl: {
        const HueParts h = HueOf(c);
        const int sum = h.max + h.min;
        const int d = h.max - h.min;
        const int saturation = d == 0 ? 0 : RoundRatio(100L * d, 255 - std::abs(sum - 255));
        return "hsl(" + Whole(h.hue) + ' ' + Whole(saturation) + "% " + Whole(RoundRatio(100L * sum, 510)) + "%)";
    }
    case CopyFormat::Hsb: {
        const HueParts h = HueOf(c);
        const int saturation = h.max == 0 ? 0 : RoundRatio(100L * (h.max - h.min), h.max);
        return "hsb(" + Whole(h.hue) + ", " + Whole(saturation) + "%, " + Whole(RoundRatio(100L * h.max, 255)) + "%)";
    }
    case CopyFormat::Oklch:
        return OklchText(RGB(c.red, c.green, c.blue));
    }
    return {};
}

bool IsLossless(CopyFormat format)
{
    return format != CopyFormat::Hsl && format != CopyFormat::Hsb && format != CopyFormat::Oklch;
}

namespace {

struct KeyOf {
    CopyFormat format;
    std::string_view key;
};

constexpr KeyOf Keys[] = {
    {CopyFormat::HexUpper, "hex"},       {CopyFormat::HexLower, "hex-lower"}, {CopyFormat::HexBare, "hex-bare"},
    {CopyFormat::RgbSpace, "rgb"},       {CopyFormat::RgbComma, "rgb-comma"}, {CopyFormat::Hsl, "hsl"},
    {CopyFormat::Hsb, "hsb"},            {CopyFormat::Oklch, "oklch"},
};

} // namespace

std::string_view CopyFormatKey(CopyFormat format)
{
    for (const KeyOf& k : Keys)
        if (k.format == format)
            return k.key;
    return {};
}

std::optional<CopyFormat> CopyFormatFromKey(std::string_view key)
{
    for (const KeyOf& k : Keys)
        if (k.key == key)
            return k.format;
    return std::nullopt;
}

} // namespace color
