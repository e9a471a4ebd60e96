#pragma once
#include <cstdint>
#include <string>

#include "color/ColorValue.h"
#include "color/HexText.h"

namespace color {

// What the readout prints for a colour: its channels and hexadecimal text.
struct ColorInfo {
    int16_t red = 0;
    int16_t green = 0;
    int16_t blue = 0;
    std::string hex;
};

inline ColorInfo InfoOf(int32_t colorValue)
{
    ColorInfo info;
    SplitColor(colorValue, info.red, info.green, info.blue);
    GetHexVal(info.red, info.green, info.blue, info.hex);
    return info;
}

} // namespace color
