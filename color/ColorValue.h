#pragma once
#include <cstdint>

namespace color {

// A colour value is red + 256 * green + 65536 * blue (0x00BBGGRR).
// Negative values are not colours (a pixel read outside the image is -1).
constexpr int32_t RGB(int32_t red, int32_t green, int32_t blue)
{
    return red + 256 * green + 65536 * blue;
}

// Low, second and third byte of the value, each a remainder with the sign
// of the dividend, so negative values give channels of zero or below.
void SplitColor(const int32_t& value, int16_t& red, int16_t& green, int16_t& blue);

} // namespace color
