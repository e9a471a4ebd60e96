// Contrast of text on a background as accessibility guidelines measure it:
// each channel linearised with the sRGB transfer function, luminance
// Y = 0.2126 R + 0.7152 G + 0.0722 B, ratio (Y1 + 0.05) / (Y2 + 0.05) with
// Y1 the lighter. (The guidelines' older 0.03928 threshold and 0.04045
// agree on every whole channel: no channel / 255 lies between them.)
#include "color/Contrast.h"

#include <algorithm>
#include <cmath>

#include "color/ColorSpaces.h"
#include "color/ColorValue.h"

namespace color {

namespace {

constexpr long Levels[] = {300, 450, 700};  // in hundredths

} // namespace

double RelativeLuminance(int32_t colorValue)
{
    // A value that is no colour is shown as black, and measured so.
    if (!IsColor(colorValue))
        return 0;
    const Srgb c = FromColorValue(colorValue);
    return 0.2126 * SrgbToLinear(c.red) + 0.7152 * SrgbToLinear(c.green) + 0.0722 * SrgbToLinear(c.blue);
}

double ContrastRatio(int32_t first, int32_t second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    // Scaled by 20, (20 Y1 + 1) / (20 Y2 + 1): the same ratio, and exactly 21
    // for white on black, which 1.05 / 0.05 in binary fractions is not.
    return (20.0 * std::max(a, b) + 1.0) / (20.0 * std::min(a, b) + 1.0);
}

ContrastGrades GradeContrast(double ratio)
{
    return {ratio >= 4.5, ratio >= 3.0, ratio >= 7.0, ratio >= 4.5};
}

std::string ContrastRatioText(double ratio)
{
    long hundredths = std::lround(std::clamp(ratio, 1.0, 21.0) * 100.0);
    for (long level : Levels)
        if (ratio < level / 100.0 && hundredths >= level)
            hundredths = level - 1;
    std::string text = std::to_string(hundredths / 100);
    const long fraction = hundredths % 100;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0)
            text += static_cast<char>('0' + fraction % 10);
    }
    return text + ":1";
}

} // namespace color
