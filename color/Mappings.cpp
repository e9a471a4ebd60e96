#include "color/Mappings.h"

#include <cmath>
#include <limits>

#include "color/NumberRules.h"

namespace color {

namespace {

// Floors a mapped value into an int32, saturating rather than overflowing
// for positions far outside the picker. NaN reads 0.
int32_t FloorToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::floor(v);
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// Differences and products of positions are taken in 64 bits: identical to
// the 32-bit result wherever that fits, and unable to overflow elsewhere.
int32_t ScaleFieldOffset(int64_t offset, int64_t range)
{
    const int64_t product = offset * range;
    return FloorToInt32(static_cast<double>(product) / 255.0);
}

int32_t ScaleStripOffset(float y, int32_t top, double range)
{
    double v = 255.0 - static_cast<double>(y);
    v = v + top;
    v = v * range;
    return FloorToInt32(v / 255.0);
}

// Keeps a mapped position inside [lo, hi]; NaN goes to lo.
double ClampPosition(double v, int32_t lo, int32_t hi)
{
    if (!(v >= lo))
        return lo;
    if (v > hi)
        return hi;
    return v;
}

// The clamp has already put v within int32 range, so the conversion
// cannot fail.
int32_t RoundPosition(double v, int32_t lo, int32_t hi)
{
    return RoundToInt32(ClampPosition(v, lo, hi)).value_or(lo);
}

// The strip row of a value on a strip spanning `range`, fraction kept.
float StripPosition(double value, double range, const PickerGeometry& g)
{
    double v = value * 255.0;
    v = v / range;
    v = g.StripBottom - v;
    return Single(ClampPosition(v, g.StripTop, g.StripBottom));
}

} // namespace

int32_t FieldXToHue(int32_t FieldX, const PickerGeometry& g)
{
    return ScaleFieldOffset(int64_t{FieldX} - g.FieldLeft, 360);
}

int32_t FieldXToSaturation(int32_t FieldX, const PickerGeometry& g)
{
    return ScaleFieldOffset(int64_t{FieldX} - g.FieldLeft, 100);
}

int32_t FieldYToBrightness(int32_t FieldY, const PickerGeometry& g)
{
    return ScaleFieldOffset(255 - int64_t{FieldY} + g.FieldTop, 100);
}

int32_t FieldYToSaturation(int32_t FieldY, const PickerGeometry& g)
{
    return ScaleFieldOffset(int64_t{g.FieldBottom} - FieldY, 100);
}

int32_t StripYToHue(float y, const PickerGeometry& g)
{
    return ScaleStripOffset(y, g.FieldTop, 360.0);
}

int32_t StripYToPercent(float y, const PickerGeometry& g)
{
    return ScaleStripOffset(y, g.FieldTop, 100.0);
}

float HueToStripY(double H, const PickerGeometry& g)
{
    return StripPosition(H, 360.0, g);
}

float PercentToStripY(double value, const PickerGeometry& g)
{
    return StripPosition(value, 100.0, g);
}

float HueToStripYFloored(double H, const PickerGeometry& g)
{
    double v = H * 255.0;
    v = v / 360.0;
    v = g.StripBottom - v;
    return Single(ClampPosition(FloorValue(v), g.StripTop, g.StripBottom));
}

int32_t HueToFieldX(double H, const PickerGeometry& g)
{
    double v = H * 255.0;
    v = v / 360.0;
    v = v + g.FieldLeft;
    return RoundPosition(v, g.FieldLeft, g.FieldRight);
}

int32_t SaturationToFieldX(double S, const PickerGeometry& g)
{
    double v = S * 255.0;
    v = v / 100.0;
    v = v + g.FieldLeft;
    return RoundPosition(v, g.FieldLeft, g.FieldRight);
}

int32_t SaturationToFieldY(double S, const PickerGeometry& g)
{
    double v = S * 255.0;
    v = v / 100.0;
    v = g.FieldBottom - v;
    return RoundPosition(v, g.FieldTop, g.FieldBottom);
}

int32_t BrightnessToFieldY(double B, const PickerGeometry& g)
{
    double v = B * 255.0;
    v = v / 100.0;
    v = g.FieldBottom - v;
    return RoundPosition(v, g.FieldTop, g.FieldBottom);
}

bool IsValidHue(double H)
{
    return H <= 360 && H >= 0 && H == std::floor(H);
}

} // namespace color
