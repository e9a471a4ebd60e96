#pragma once
#include <cstdint>
#include <string>

namespace color {

// Relative luminance of a colour value (0 black .. 1 white), from the
// linear-light channels weighted 0.2126, 0.7152, 0.0722.
double RelativeLuminance(int32_t colorValue);

// (lighter + 0.05) / (darker + 0.05), from 1 (the same luminance) to 21
// (black and white), whichever colour comes first.
double ContrastRatio(int32_t first, int32_t second);

// The levels of text contrast a ratio meets: AA asks 4.5 for normal text
// and 3 for large text, AAA asks 7 and 4.5.
struct ContrastGrades {
    bool aaNormal, aaLarge, aaaNormal, aaaLarge;
};
ContrastGrades GradeContrast(double ratio);

// "4.48:1", "4.5:1", "21:1": two decimals, trailing zeros dropped. A ratio
// just short of a level never shows as that level (4.4999 gives 4.49).
std::string ContrastRatioText(double ratio);

} // namespace color
