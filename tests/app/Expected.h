#pragma once
#include <cstdint>

#include "color/ColorValue.h"

// Independent closed forms of what the picker shows, for checking the
// window against.
namespace expected {

// One channel of the hue-mode field at client (10 + i, 10 + k) for the pure
// hue channel C: the nearest integer to (255-k)(65025 - i(255-C)) / 65025,
// never a tie.
inline int HueFieldChannel(int C, int i, int k)
{
    const int64_t n = int64_t(255 - k) * (65025 - int64_t(i) * (255 - C));
    return int((2 * n + 65025) / 130050);
}

inline int32_t HueFieldPixel(int32_t hue, int x, int y)
{
    const int i = x - 10, k = y - 10;
    return color::RGB(HueFieldChannel(hue & 0xFF, i, k), HueFieldChannel((hue >> 8) & 0xFF, i, k),
                      HueFieldChannel((hue >> 16) & 0xFF, i, k));
}

// The spectrum at client row 10 + i.
inline int32_t HueStripRow(int i)
{
    if (i <= 42) return color::RGB(255, 0, 6 * i);
    if (i <= 85) return color::RGB(510 - 6 * i, 0, 255);
    if (i <= 127) return color::RGB(0, 6 * i - 510, 255);
    if (i <= 170) return color::RGB(0, 255, 1020 - 6 * i);
    if (i <= 212) return color::RGB(6 * i - 1020, 255, 0);
    return color::RGB(255, 1530 - 6 * i, 0);
}

} // namespace expected
