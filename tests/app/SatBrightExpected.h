#pragma once
#include <cstdint>

#include "color/ColorValue.h"

// Closed forms of the saturation- and brightness-mode fields and strips, in
// whole-number arithmetic, for checking the window against.
namespace expected {

// Nearest integer to n / 255. 255 is odd, so there is never a tie.
inline int Nearest255(int64_t n)
{
    const int64_t twice = 2 * n + 255;
    return int(twice >= 0 ? twice / 510 : -((-twice + 509) / 510));
}

// Hue across the field: at buffer column e = 265 - x one channel ramps with
// value v, one is at the row's full value and one at its low value.
struct HueColumn {
    int v;
    int ramp, full, low; // channel positions: 0 red, 1 green, 2 blue
};

inline HueColumn HueColumnAt(int e)
{
    if (e <= 42) return {6 * e, 2, 0, 1};
    if (e <= 85) return {507 - 6 * e, 0, 2, 1};
    if (e <= 128) return {6 * (e - 86), 1, 2, 0};
    if (e <= 170) return {1023 - 6 * e, 2, 1, 0};
    if (e <= 212) return {6 * (e - 171), 0, 1, 2};
    return {1527 - 6 * e, 1, 0, 2};
}

inline int32_t Pack(const int (&rgb)[3])
{
    return color::RGB(rgb[0], rgb[1], rgb[2]);
}

// A ramp value that does not fit a byte is never written; the byte stays 0.
inline int Written(int value)
{
    return value >= 0 && value <= 255 ? value : 0;
}

// Saturation mode at client (x, y): largest channel 255 - t, smallest 0,
// the ramp v(255 - t)/255.
inline int32_t SatFieldPixel(int x, int y)
{
    const int t = y - 10;
    const HueColumn c = HueColumnAt(265 - x);
    int rgb[3];
    rgb[c.full] = 255 - t;
    rgb[c.low] = 0;
    rgb[c.ramp] = Written(Nearest255(int64_t(c.v) * (255 - t)));
    return Pack(rgb);
}

// Brightness mode at client (x, y): largest channel 255, smallest t, the
// ramp t + v(255 - t)/255.
inline int32_t BrightFieldPixel(int x, int y)
{
    const int t = y - 10;
    const HueColumn c = HueColumnAt(265 - x);
    int rgb[3];
    rgb[c.full] = 255;
    rgb[c.low] = t;
    rgb[c.ramp] = Written(Nearest255(int64_t(255) * t + int64_t(c.v) * (255 - t)));
    return Pack(rgb);
}

// Strip line i (client row 10 + i) for the base colour: towards white in
// saturation mode, towards black in brightness mode.
inline int32_t SatStripLine(int32_t base, int i)
{
    auto ch = [i](int c) { return Nearest255(int64_t(255) * c + int64_t(i) * (255 - c)); };
    return color::RGB(ch(base & 0xFF), ch((base >> 8) & 0xFF), ch((base >> 16) & 0xFF));
}

inline int32_t BrightStripLine(int32_t base, int i)
{
    auto ch = [i](int c) { return Nearest255(int64_t(c) * (255 - i)); };
    return color::RGB(ch(base & 0xFF), ch((base >> 8) & 0xFF), ch((base >> 16) & 0xFF));
}

} // namespace expected
