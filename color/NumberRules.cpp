#include "color/NumberRules.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace color {

namespace {

template <typename Int>
std::optional<Int> RoundTo(double x)
{
    const double r = RoundHalfEven(x);
    // Written so that NaN fails the test too.
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(r);
}

} // namespace

std::optional<int16_t> RoundToInt16(double x)
{
    return RoundTo<int16_t>(x);
}

std::optional<int32_t> RoundToInt32(double x)
{
    return RoundTo<int32_t>(x);
}

double FloorValue(double x)
{
    return std::floor(x);
}

float Single(double x)
{
    return static_cast<float>(x);
}

std::string IntegerText(int64_t value)
{
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

} // namespace color
