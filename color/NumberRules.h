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

// Nearest integer, ties to the even neighbour, as a floating-point value of
// the same type; infinities and NaN come back unchanged. Cheap enough for
// pixel loops.
template <typename Real>
Real RoundHalfEven(Real x);

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
#include <limits>
#include <type_traits>
// Below 2^51 (2^22 for float) adding 1.5 * 2^52 (1.5 * 2^23) leaves no bits
// for a fraction, so the addition itself rounds, ties to even in the default
// mode, without a library call; strict evaluation (no fast-math, no
// contraction) keeps the two steps apart. Larger values are whole already.
template <typename Real>
Real color::RoundHalfEven(Real x)
{
    static_assert(std::is_floating_point_v<Real>);
    constexpr Real Limit = Real(1ull << (std::numeric_limits<Real>::digits - 2));
    constexpr Real Magic = 3 * Limit;
    if (x > -Limit && x < Limit)
        return (x + Magic) - Magic;
    return std::nearbyint(x);
}
