#include "color/SafeColor.h"

#include "color/ColorValue.h"
#include "color/HexText.h"

namespace color {

int32_t GetSafeColor(const int16_t& cell, int16_t& red, int16_t& green, int16_t& blue, std::string& hex)
{
    if (cell < 1 || cell > 216)
        return 0;
    // Cells count through red, then green, then blue in steps of 51, blue
    // changing fastest; the cell's digits in base 6 are those steps.
    const int k = cell - 1;
    red = static_cast<int16_t>(51 * (k / 36));
    green = static_cast<int16_t>(51 * ((k / 6) % 6));
    blue = static_cast<int16_t>(51 * (k % 6));
    GetHexVal(red, green, blue, hex);
    return RGB(red, green, blue);
}

} // namespace color
