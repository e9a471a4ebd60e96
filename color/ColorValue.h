#pragma once
#include <cstdint>

namespace color {

// A colour value is red + 256 * green + 65536 * blue (0x00BBGGRR).
// Negative values are not colours (a pixel read outside the image is -1).
constexpr int32_t RGB(int32_t red, int32_t green, int32_t blue)
{
    return red + 256 * green + 65536 * blue;
}

// Whether a value is a colour at all: anything outside 0..0xFFFFFF (a
// hand-edited file can hold such values) is shown and picked as black.
constexpr bool IsColor(int32_t value)
{
    return value >= 0 && value <= 0xFFFFFF;
}

// Low, second and third byte of the value, each a remainder with the sign
// of the dividend, so negative values give channels of zero or below.
void SplitColor(const int32_t& value, int16_t& red, int16_t& green, int16_t& blue);


} // namespace color
