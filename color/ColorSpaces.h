#pragma once
#include <cstdint>

namespace color {

// Gamma-encoded sRGB with 1 for a full channel. The conversions below may
// give values outside 0..1 (colours beyond the sRGB gamut); ToColorValue
// clamps them.
struct Srgb {
    double red, green, blue;
};

struct OkLab {
    double L, a, b;
};

// The sRGB transfer function and its inverse (encoded <-> linear light).
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

// Hue in degrees (any value, taken modulo 360); the other arguments as
// fractions (1 = 100 %).
Srgb HslToSrgb(double hue, double saturation, double lightness);
Srgb HsbToSrgb(double hue, double saturation, double brightness);
Srgb HwbToSrgb(double hue, double whiteness, double blackness);

// CIE Lab relative to the D50 white (L 0..100), as stylesheets give it.
Srgb LabToSrgb(double L, double a, double b);

// OKLab (L 0..1) to and from sRGB.
Srgb OkLabToSrgb(const OkLab& lab);
OkLab SrgbToOkLab(const Srgb& rgb);

// Polar form of a, b (chroma, hue in degrees) and back: LCH, OKLCH.
void PolarToCartesian(double chroma, double hue, double& a, double& b);

// The colour value nearest to an sRGB colour: each channel clamped to 0..1
// on its own (NaN reads 0), then scaled to 0..255 and rounded, halves up.
int32_t ToColorValue(const Srgb& rgb);

// The channels of an ordinary colour value as fractions.
Srgb FromColorValue(int32_t colorValue);

} // namespace color
