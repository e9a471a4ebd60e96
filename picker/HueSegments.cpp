#include "picker/HueSegments.h"

#include "color/NumberRules.h"

namespace picker {

namespace {
constexpr int Red = 0, Green = 1, Blue = 2;

int SegmentEnd(int k)
{
    const float s = 255.0f / 6.0f;
    return static_cast<int>(color::RoundHalfEven(static_cast<float>(k) * s));
}
} // namespace

HueColumn HueColumnAt(int e)
{
    // Red, magenta, blue, cyan, green, yellow, red from column 0; the
    // mirrored blit shows them the other way round.
    if (e <= SegmentEnd(1))
        return {6 * e, Blue, Red, Green};
    if (e <= SegmentEnd(2))
        return {6 * SegmentEnd(1) + 255 - 6 * e, Red, Blue, Green};
    if (e <= SegmentEnd(3))
        return {6 * (e - (SegmentEnd(2) + 1)), Green, Blue, Red};
    if (e <= SegmentEnd(4))
        return {6 * SegmentEnd(3) + 255 - 6 * e, Blue, Green, Red};
    if (e <= SegmentEnd(5))
        return {6 * (e - (SegmentEnd(4) + 1)), Red, Green, Blue};
    return {6 * SegmentEnd(5) + 255 - 6 * e, Green, Red, Blue};
}

} // namespace picker
