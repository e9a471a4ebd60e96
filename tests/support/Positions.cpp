#include "tests/support/Positions.h"

#include <cmath>

#include "tests/support/Picker.h"

namespace expected {

namespace {

int32_t Place(double v, int lo, int hi)
{
    if (!(v >= lo))
        return lo;
    if (v > hi)
        return hi;
    return int32_t(std::nearbyint(v));
}

float Keep(double v, int lo, int hi)
{
    return !(v >= lo) ? float(lo) : v > hi ? float(hi) : float(v);
}

} // namespace

int32_t HueFieldX(double H) { return Place(H * 255 / 360 + FieldLeft, FieldLeft, FieldRight); }
int32_t PercentFieldX(double S) { return Place(S * 255 / 100 + FieldLeft, FieldLeft, FieldRight); }
int32_t PercentFieldY(double v) { return Place(FieldBottom - v * 255 / 100, FieldTop, FieldBottom); }
float HueStripY(double H) { return Keep(StripBottom - H * 255 / 360, StripTop, StripBottom); }
float HueStripYFloored(double H) { return Keep(std::floor(StripBottom - H * 255 / 360), StripTop, StripBottom); }
float PercentStripY(double v) { return Keep(StripBottom - v * 255 / 100, StripTop, StripBottom); }

int HueOfFieldX(int x) { return (x - FieldLeft) * 360 / 255; }
int PercentOfFieldX(int x) { return (x - FieldLeft) * 100 / 255; }
int PercentOfFieldY(int y) { return (FieldBottom - y) * 100 / 255; }
int HueOfStripRow(int y) { return (StripBottom - y) * 360 / 255; }

int32_t HueMixSample(int32_t strip, int S, int B)
{
    auto channel = [&](int c) {
        const int p = (255 - c) * (100 - S);
        return int(std::nearbyint((double(p) / 100 + c) * B / 100));
    };
    return Rgb(channel(strip & 0xFF), channel((strip >> 8) & 0xFF), channel((strip >> 16) & 0xFF));
}

} // namespace expected
