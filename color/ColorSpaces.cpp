// The colour-space formulas of the stylesheet notations, in one place.
//
// sRGB transfer: linear = e / 12.92 for e <= 0.04045, else ((e + 0.055) / 1.055)^2.4;
// its inverse e = 12.92 l for l <= 0.0031308, else 1.055 l^(1/2.4) - 0.055.
// Negative values mirror the positive branch, so colours beyond the gamut
// keep their direction until they are clamped.
//
// HSL: k = (n + H/30) mod 12, a = S min(L, 1 - L),
//      channel(n) = L - a max(-1, min(k - 3, 9 - k, 1)), red n = 0, green 8, blue 4.
// HSB: k = (n + H/60) mod 6, channel(n) = V - V S max(0, min(k, 4 - k, 1)),
//      red n = 5, green 3, blue 1.
// HWB: with W + B >= 1 a grey of W / (W + B); otherwise the pure hue
//      (HSL with S 1, L 1/2) scaled by 1 - W - B and lifted by W.
//
// CIE Lab (D50): fy = (L + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
// X = f^-1(fx) Xn, Y = L > 8 ? fy^3 : L / kappa, Z = f^-1(fz) Zn with
// f^-1(t) = t^3 when t^3 > epsilon, else (116 t - 16) / kappa,
// kappa = 24389/27, epsilon = 216/24389, the D50 white Xn, Zn from its
// chromaticity (0.3457, 0.3585). The D50 XYZ is moved to D65 by the Bradford
// adaptation, then to linear sRGB.
//
// OKLab: linear sRGB -> XYZ (D65) -> LMS, cube root of each, -> L, a, b;
// back with the inverse matrices and the cube. The matrices are the 64-bit
// ones stylesheets use, so a colour converts as a browser shows it.
//
// LCH and OKLCH are the polar forms: C = hypot(a, b), h = atan2(b, a).
#include "color/ColorSpaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "color/ColorValue.h"

namespace color {

namespace {

using Matrix = double[3][3];

struct Vec {
    double x, y, z;
};

Vec Multiply(const Matrix& m, const Vec& v)
{
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

constexpr Matrix LinearSrgbToXyz = {
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
};
constexpr Matrix XyzToLinearSrgb = {
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
};
constexpr Matrix D50ToD65 = {
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
};
constexpr Matrix XyzToLms = {
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
};
constexpr Matrix LmsToOkLab = {
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
};
constexpr Matrix OkLabToLms = {
    {1.0, 0.3963377773761749, 0.2158037573099136},
    {1.0, -0.1055613458156586, -0.0638541728258133},
    {1.0, -0.0894841775298119, -1.2914855480194092},
};
constexpr Matrix LmsToXyz = {
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
};

Srgb FromLinearXyz(const Vec& xyz)
{
    const Vec lin = Multiply(XyzToLinearSrgb, xyz);
    return {LinearToSrgb(lin.x), LinearToSrgb(lin.y), LinearToSrgb(lin.z)};
}

// Degrees in 0..360; a hue that is no finite number is taken as 0.
double NormalHue(double hue)
{
    if (!std::isfinite(hue))
        return 0.0;
    const double h = std::fmod(hue, 360.0);
    return h < 0.0 ? h + 360.0 : h;
}

double Cube(double t)
{
    return t * t * t;
}

} // namespace

double SrgbToLinear(double encoded)
{
    const double e = std::fabs(encoded);
    const double l = e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
    return std::copysign(l, encoded);
}

double LinearToSrgb(double linear)
{
    const double l = std::fabs(linear);
    const double e = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
    return std::copysign(e, linear);
}

Srgb HslToSrgb(double hue, double saturation, double lightness)
{
    const double h = NormalHue(hue);
    const double a = saturation * std::min(lightness, 1.0 - lightness);
    const auto channel = [&](double n) {
        const double k = std::fmod(n + h / 30.0, 12.0);
        return lightness - a * std::max(-1.0, std::min({k - 3.0, 9.0 - k, 1.0}));
    };
    return {channel(0), channel(8), channel(4)};
}

Srgb HsbToSrgb(double hue, double saturation, double brightness)
{
    const double h = NormalHue(hue);
    const auto channel = [&](double n) {
        const double k = std::fmod(n + h / 60.0, 6.0);
        return brightness - brightness * saturation * std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    };
    return {channel(5), channel(3), channel(1)};
}

Srgb HwbToSrgb(double hue, double whiteness, double blackness)
{
    if (whiteness + blackness >= 1.0) {
        const double grey = whiteness / (whiteness + blackness);
        return {grey, grey, grey};
    }
    const Srgb pure = HslToSrgb(hue, 1.0, 0.5);
    const double scale = 1.0 - whiteness - blackness;
    return {pure.red * scale + whiteness, pure.green * scale + whiteness, pure.blue * scale + whiteness};
}

Srgb LabToSrgb(double L, double a, double b)
{
    constexpr double Kappa = 24389.0 / 27.0;
    constexpr double Epsilon = 216.0 / 24389.0;
    constexpr Vec D50White = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
    const double fy = (L + 16.0) / 116.0;
    const double fx = a / 500.0 + fy;
    const double fz = fy - b / 200.0;
    const auto inverse = [&](double f) { return Cube(f) > Epsilon ? Cube(f) : (116.0 * f - 16.0) / Kappa; };
    const Vec xyzD50 = {inverse(fx) * D50White.x, (L > Kappa * Epsilon ? Cube(fy) : L / Kappa) * D50White.y,
                        inverse(fz) * D50White.z};
    return FromLinearXyz(Multiply(D50ToD65, xyzD50));
}

Srgb OkLabToSrgb(const OkLab& lab)
{
    const Vec lms = Multiply(OkLabToLms, {lab.L, lab.a, lab.b});
    return FromLinearXyz(Multiply(LmsToXyz, {Cube(lms.x), Cube(lms.y), Cube(lms.z)}));
}

OkLab SrgbToOkLab(const Srgb& rgb)
{
    const Vec xyz = Multiply(LinearSrgbToXyz, {SrgbToLinear(rgb.red), SrgbToLinear(rgb.green), SrgbToLinear(rgb.blue)});
    const Vec lms = Multiply(XyzToLms, xyz);
    const Vec lab = Multiply(LmsToOkLab, {std::cbrt(lms.x), std::cbrt(lms.y), std::cbrt(lms.z)});
    return {lab.x, lab.y, lab.z};
}

void PolarToCartesian(double chroma, double hue, double& a, double& b)
{
    const double radians = NormalHue(hue) * std::numbers::pi / 180.0;
    a = chroma * std::cos(radians);
    b = chroma * std::sin(radians);
}

int32_t ToColorValue(const Srgb& rgb)
{
    const auto byte = [](double v) {
        const double c = v > 0.0 ? std::min(v, 1.0) : 0.0;
        return static_cast<int32_t>(std::floor(c * 255.0 + 0.5));
    };
    return RGB(byte(rgb.red), byte(rgb.green), byte(rgb.blue));
}

Srgb FromColorValue(int32_t colorValue)
{
    return {(colorValue & 0xFF) / 255.0, ((colorValue >> 8) & 0xFF) / 255.0, ((colorValue >> 16) & 0xFF) / 255.0};
}

} // namespace color
