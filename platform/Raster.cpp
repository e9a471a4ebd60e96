#include "platform/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {
namespace {

// Appends the pixels of row y from x0 to x1 (inclusive) that lie in the image.
void AddRow(PixelList& out, long long y, long long x0, long long x1, ClipSize clip)
{
    if (y < 0 || y >= clip.height) {
        return;
    }
    x0 = std::max(x0, 0LL);
    x1 = std::min(x1, static_cast<long long>(clip.width) - 1);
    for (long long x = x0; x <= x1; ++x) {
        out.push_back({static_cast<int>(x), static_cast<int>(y)});
    }
}

void AddColumn(PixelList& out, long long x, long long y0, long long y1, ClipSize clip)
{
    if (x < 0 || x >= clip.width) {
        return;
    }
    y0 = std::max(y0, 0LL);
    y1 = std::min(y1, static_cast<long long>(clip.height) - 1);
    for (long long y = y0; y <= y1; ++y) {
        out.push_back({static_cast<int>(x), static_cast<int>(y)});
    }
}

void AddPixel(PixelList& out, long long x, long long y, ClipSize clip)
{
    if (x >= 0 && x < clip.width && y >= 0 && y < clip.height) {
        out.push_back({static_cast<int>(x), static_cast<int>(y)});
    }
}

void SortUnique(PixelList& pixels)
{
    std::sort(pixels.begin(), pixels.end(), [](const Pixel& a, const Pixel& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
}

// Column of a circle of radius r in row y of its first octant (x >= y): the
// largest x with x^2 - x + y^2 < r^2, which is the pixel the midpoint test
// keeps, in closed form so any row can be asked for directly.
long long OctantX(long long r, long long y)
{
    const long long q = r * r - y * y;
    auto x = static_cast<long long>((1.0L + std::sqrt(1.0L + 4.0L * static_cast<long double>(q))) / 2);
    while (x > 0 && x * x - x >= q) {
        --x;
    }
    while (x * (x + 1) < q) {
        ++x;
    }
    return x;
}

// Last row of the first octant: the largest y whose column is still >= y.
long long OctantEnd(long long r)
{
    auto y = static_cast<long long>(static_cast<long double>(r) / std::sqrt(2.0L));
    while (y > 0 && 2 * y * y - y >= r * r) {
        --y;
    }
    while (2 * (y + 1) * (y + 1) - (y + 1) < r * r) {
        ++y;
    }
    return y;
}

} // namespace

PixelList LinePixels(int x1, int y1, int x2, int y2, int width, bool includeEnd, ClipSize clip)
{
    PixelList out;
    width = std::max(width, 1);
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    if (dx == 0 && dy == 0) {
        if (includeEnd) {
            const long long left = PenStart(x1, width);
            const long long top = PenStart(y1, width);
            const long long bottom = std::min(top + width - 1, static_cast<long long>(clip.height) - 1);
            for (long long y = std::max(top, 0LL); y <= bottom; ++y) {
                AddRow(out, y, left, left + width - 1, clip);
            }
        }
        return out;
    }

    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const long long steps = xMajor ? std::abs(dx) : std::abs(dy);
    const long long rise = xMajor ? std::abs(dy) : std::abs(dx);
    const long long majorStart = xMajor ? x1 : y1;
    const long long minorStart = xMajor ? y1 : x1;
    const int majorDir = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorDir = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const long long majorLimit = xMajor ? clip.width : clip.height;

    // Only the steps whose major coordinate lies in the image are walked, so
    // far-away end points cost nothing.
    long long first = majorDir > 0 ? -majorStart : majorStart - (majorLimit - 1);
    long long last = majorDir > 0 ? majorLimit - 1 - majorStart : majorStart;
    first = std::max(first, 0LL);
    last = std::min(last, includeEnd ? steps : steps - 1);

    for (long long k = first; k <= last; ++k) {
        // Nearest minor offset; a half rounds away from the first point.
        const auto offset = static_cast<long long>((static_cast<__int128>(2) * k * rise + steps) / (2 * steps));
        const long long major = majorStart + majorDir * k;
        const long long spanStart = PenStart(minorStart + minorDir * offset, width);
        if (xMajor) {
            AddColumn(out, major, spanStart, spanStart + width - 1, clip);
        } else {
            AddRow(out, major, spanStart, spanStart + width - 1, clip);
        }
    }
    return out;
}

PixelList CirclePixels(int cx, int cy, int radius, ClipSize clip)
{
    PixelList out;
    const long long r = radius;
    if (r < 1 || cx + r < 0 || cx - r >= clip.width || cy + r < 0 || cy - r >= clip.height) {
        return out;
    }
    const long long last = OctantEnd(r);
    // Each of the eight mirror images lays the octant's row offset along one
    // axis; only the offsets that land inside the image are evaluated, so a
    // huge circle costs no more than the image is wide or high. Images that
    // differ only across that axis share their rows.
    out.reserve(static_cast<size_t>(8 * std::min(last + 1, static_cast<long long>(std::max(clip.width, clip.height)))));
    for (const bool swap : {false, true}) {
        for (const int alongDir : {1, -1}) {
            const long long base = swap ? cx : cy;
            const long long limit = swap ? clip.width : clip.height;
            long long first = alongDir > 0 ? -base : base - (limit - 1);
            long long stop = alongDir > 0 ? limit - 1 - base : base;
            first = std::max(first, 0LL);
            stop = std::min(stop, last);
            if (first > stop) {
                continue;
            }
            // Columns only shrink as rows grow: after the first row the
            // column is found by stepping down, without a square root.
            long long x = OctantX(r, first);
            for (long long y = first; y <= stop; ++y) {
                const long long q = r * r - y * y;
                while (x > 0 && x * x - x >= q) {
                    --x;
                }
                for (const int acrossDir : {1, -1}) {
                    if (swap) {
                        AddPixel(out, cx + alongDir * y, cy + acrossDir * x, clip);
                    } else {
                        AddPixel(out, cx + acrossDir * x, cy + alongDir * y, clip);
                    }
                }
            }
        }
    }
    // The axes and diagonals come out of several mirror images.
    SortUnique(out);
    return out;
}

std::optional<Box> StraightLineBox(int x1, int y1, int x2, int y2, int width, bool includeEnd)
{
    if (x1 != x2 && y1 != y2) {
        return std::nullopt;
    }
    width = std::max(width, 1);
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    if (dx == 0 && dy == 0 && !includeEnd) {
        return Box{};
    }
    // Along the line: from the first point to the last step taken (the end
    // point, or the one before it). Across it: the pen's span.
    const long long last = includeEnd ? 0 : 1;
    const long long alongX = dx > 0 ? x2 - last : dx < 0 ? x2 + last : x1;
    const long long alongY = dy > 0 ? y2 - last : dy < 0 ? y2 + last : y1;
    Box box{std::min<long long>(x1, alongX), std::min<long long>(y1, alongY), std::max<long long>(x1, alongX),
            std::max<long long>(y1, alongY)};
    if (dy == 0) {
        box.top = PenStart(y1, width);
        box.bottom = box.top + width - 1;
    }
    if (dx == 0) {
        box.left = PenStart(x1, width);
        box.right = box.left + width - 1;
    }
    return box;
}

} // namespace platform
