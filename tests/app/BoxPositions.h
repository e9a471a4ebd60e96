#pragma once
#include <cmath>
#include <cstdint>

// Where a box value puts the ring or the strip marks, and what a position
// writes back into a box, computed independently of the window's mappings.
namespace expected {

// Nearest whole position, ties to even, kept inside lo..hi; a value that is
// not a number goes to lo.
inline int32_t Place(double v, int lo, int hi)
{
    if (!(v >= lo))
        return lo;
    if (v > hi)
        return hi;
    return int32_t(std::nearbyint(v));
}

inline float Keep(double v, int lo, int hi)
{
    return !(v >= lo) ? float(lo) : v > hi ? float(hi) : float(v);
}

inline int32_t HueFieldX(double H) { return Place(H * 255 / 360 + 10, 10, 265); }
inline int32_t PercentFieldX(double S) { return Place(S * 255 / 100 + 10, 10, 265); }
inline int32_t PercentFieldY(double v) { return Place(265 - v * 255 / 100, 10, 265); }
// Switching to hue mode floors the row; a typed hue keeps the fraction.
inline float HueStripYFloored(double H) { return Keep(std::floor(265 - H * 255 / 360), 10, 265); }
inline float HueStripY(double H) { return Keep(265 - H * 255 / 360, 10, 265); }
inline float PercentStripY(double v) { return Keep(265 - v * 255 / 100, 10, 265); }

// Positions inside the picker read back as box values, floored.
inline int HueOfFieldX(int x) { return (x - 10) * 360 / 255; }
inline int PercentOfFieldX(int x) { return (x - 10) * 100 / 255; }
inline int PercentOfFieldY(int y) { return (265 - y) * 100 / 255; }
inline int HueOfStripRow(int y) { return (265 - y) * 360 / 255; }

} // namespace expected
