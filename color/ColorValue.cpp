#include "color/ColorValue.h"


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

} // namespace color
