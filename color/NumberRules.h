#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace color {

// Nearest integer, ties to the even neighbour. Empty when the result does
// not fit the type or x is not a number.
std::optional<int16_t> RoundToInt16(double x);
std::optional<int32_t> RoundToInt32(double x);

// Nearest integer, ties to even, for values already known to be in range
// (the caller guarantees it; used in pixel loops).
inline double RoundHalfEven(double x);

double FloorValue(double x);

// The nearest single-precision value.
float Single(double x);

// The number at the start of a box's text: blanks, tabs and line feeds are
// skipped wherever they stand; then an optional sign, digits, an optional
// "." fraction and an optional exponent; "&H" and "&O" read hexadecimal and
// octal digits. Stops at the first character that does not fit; text
// without a number reads 0. The result may be infinite for huge exponents.
double ParseLeadingNumber(std::string_view text);

// Decimal digits with "-" in front of a negative value.
std::string IntegerText(int64_t value);

} // namespace color

#include <cmath>
inline double color::RoundHalfEven(double x)
{
    // The default floating-point environment rounds to nearest, ties to even.
    return std::nearbyint(x);
}
