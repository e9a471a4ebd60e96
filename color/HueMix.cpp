#include "color/Mappings.h"

#include <algorithm>

#include "color/ColorValue.h"
#include "color/NumberRules.h"

namespace color {

namespace {

// Within 0..100 (and 0..255 for channels) the mix can neither overflow its
// 16-bit product nor leave 0..255, whatever the boxes hold.
int16_t Clamp16(int16_t v, int16_t lo, int16_t hi)
{
    return std::clamp(v, lo, hi);
}

int32_t MixChannel(int16_t c, int16_t S, int16_t B)
{
    const int16_t p = static_cast<int16_t>((255 - c) * (100 - S));
    double v = p / 100.0;
    v = v + c;
    v = v * B;
    v = v / 100.0;
    return static_cast<int32_t>(RoundHalfEven(v));
}

} // namespace

int16_t PercentForMix(double value)
{
    double v = value;
    if (!(v >= 0.0))
        v = 0.0;
    else if (v > 100.0)
        v = 100.0;
    return RoundToInt16(v).value_or(0);
}

int32_t HueMix(int16_t red, int16_t green, int16_t blue, int16_t S, int16_t B)
{
    S = Clamp16(S, 0, 100);
    B = Clamp16(B, 0, 100);
    const int32_t r = MixChannel(Clamp16(red, 0, 255), S, B);
    const int32_t g = MixChannel(Clamp16(green, 0, 255), S, B);
    const int32_t b = MixChannel(Clamp16(blue, 0, 255), S, B);
    return RGB(r, g, b);
}

} // namespace color
