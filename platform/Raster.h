#pragma once
#include <optional>
#include <vector>

namespace platform {

// Which pixels a figure covers, clipped to a width x height image. Every list
// holds each pixel once, so a figure applied by inversion is a toggle.
struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};
using PixelList = std::vector<Pixel>;

struct ClipSize {
    int width = 0;
    int height = 0;
};

// First pixel of a pen `width` wide laid across a line at `centre`: the pen
// covers centre - width / 2 .. centre - width / 2 + width - 1 (width 2 takes
// the row above, width 3 one each side).
constexpr long long PenStart(long long centre, int width)
{
    return centre - width / 2;
}

// A straight line of pen width `width` (below 1 counts as 1). Along its
// major axis the line runs exactly from end to end, without caps; each step
// carries a span of `width` pixels across it. With includeEnd false the last
// step is left out (a line to the current position). A line of length zero
// is the width x width square of the pen, or nothing without its end.
PixelList LinePixels(int x1, int y1, int x2, int y2, int width, bool includeEnd, ClipSize clip);

// The midpoint-circle outline of the given radius: in each row y of the
// first octant the largest x with x^2 - x + y^2 < r^2, mirrored eight ways.
// Closed, never the centre; nothing for a radius below 1.
PixelList CirclePixels(int cx, int cy, int radius, ClipSize clip);

// A box of pixels, all bounds inclusive; empty when right < left.
struct Box {
    long long left = 0;
    long long top = 0;
    long long right = -1;
    long long bottom = -1;
};

// A horizontal or vertical line covers a box: the pixels LinePixels lists
// for it, before clipping (an empty box when it covers none). Nothing for a
// slanted line.
std::optional<Box> StraightLineBox(int x1, int y1, int x2, int y2, int width, bool includeEnd);

} // namespace platform
