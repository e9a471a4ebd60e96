#include "color/ColorValue.h"

#include <cmath>

namespace color {

void SplitColor(const int32_t& value, int16_t& red, int16_t& green, int16_t& blue)
{
    // C++ division truncates toward zero and its remainder takes the sign of
    // the dividend, which is exactly how system-colour references (negative)
    // must come apart. No step can overflow, not even for INT32_MIN.
    int32_t rest = value;
    red = static_cast<int16_t>(rest % 256);
    rest /= 256;
    green = static_cast<int16_t>(rest % 256);
    rest /= 256;
    blue = static_cast<int16_t>(rest % 256);
}

double RelativeLuminance(int32_t colorValue)
{
    if (!IsColor(colorValue))
        return 0;
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colorValue & 0xFF) + 0.7152 * linear(colorValue >> 8 & 0xFF) +
           0.0722 * linear(colorValue >> 16 & 0xFF);
}

} // namespace color
