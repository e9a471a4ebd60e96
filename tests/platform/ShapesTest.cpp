#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/platform/SurfaceTesting.h"
#include "tests/support/Swatches.h"

namespace platform::testing {
namespace {

// The 4-connected region around (cx, cy) that the ring does not block
// reaches the border of the box when the ring has a gap.
bool RingIsClosed(const PixelSet& ring, int cx, int cy, int r)
{
    const int lo = -r - 2, hi = r + 2;
    std::set<std::pair<int, int>> seen{{cx, cy}};
    std::vector<std::pair<int, int>> todo{{cx, cy}};
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        if (x - cx <= lo || x - cx >= hi || y - cy <= lo || y - cy >= hi) {
            return false;
        }
        for (const auto& [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
            if (!ring.count({nx, ny}) && seen.insert({nx, ny}).second) {
                todo.push_back({nx, ny});
            }
        }
    }
    return true;
}

TEST(Circle, RingIsAClosedSymmetricOutlineWithoutItsCentre)
{
    for (int r = 1; r <= 12; ++r) {
        Surface s = PatternSurface(31, 31);
        s.DrawMode = DRAWMODE_INVERT;
        const QImage before = s.Image();
        s.Circle(15, 15, r);
        // Inversion changes every pixel it touches once; one touched twice
        // would stay as it was and open a gap.
        const PixelSet ring = Changed(before, s.Image());
        EXPECT_FALSE(ring.count({15, 15})) << r;
        EXPECT_TRUE(RingIsClosed(ring, 15, 15, r)) << r;
        for (const auto& [x, y] : ring) {
            const int dx = x - 15, dy = y - 15;
            EXPECT_LT(std::abs(std::hypot(dx, dy) - r), 1.0) << r << ": " << dx << "," << dy;
            for (const auto& [mx, my] : {std::pair{-dx, dy}, {dx, -dy}, {dy, dx}}) {
                EXPECT_TRUE(ring.count({15 + mx, 15 + my})) << r << ": " << dx << "," << dy;
            }
        }
        for (const auto& [x, y] : {std::pair{15 + r, 15}, {15 - r, 15}, {15, 15 + r}, {15, 15 - r}}) {
            EXPECT_TRUE(ring.count({x, y})) << r;
        }
    }
}

// The radius-5 ring near and past every edge and corner: what is left in the
// image is the same ring, and a second draw restores the whole image.
TEST(Circle, ClippedRingIsTheSameRingAndToggles)
{
    constexpr int W = 20, H = 16, M = 8;
    Surface big = PatternSurface(W + 2 * M, H + 2 * M);
    big.DrawMode = DRAWMODE_INVERT;
    const QImage bigBefore = big.Image();
    Surface s = PatternSurface(W, H);
    s.DrawMode = DRAWMODE_INVERT;
    s.DrawWidth = 2; // the ring stays one pixel wide
    const QImage before = s.Image();
    for (int cy = -7; cy <= H + 6; ++cy) {
        for (int cx = -7; cx <= W + 6; ++cx) {
            big.Circle(cx + M, cy + M, 5);
            s.Circle(cx, cy, 5);
            PixelSet expected;
            for (const auto& [x, y] : Changed(bigBefore, big.Image())) {
                if (x >= M && x < W + M && y >= M && y < H + M) {
                    expected.insert({x - M, y - M});
                }
            }
            ASSERT_EQ(Changed(before, s.Image()), expected) << cx << "," << cy;
            big.Circle(cx + M, cy + M, 5);
            s.Circle(cx, cy, 5);
            ASSERT_TRUE(s.Image() == before) << cx << "," << cy;
        }
    }
    s.Circle(10, 8, 0);
    s.Circle(10, 8, -3);
    EXPECT_TRUE(s.Image() == before);
}

TEST(LineBox, OutlineOrFilledWithBothCornersIncluded)
{
    const int32_t color = PaletteValue(QPalette::Dark);
    for (const bool filled : {false, true}) {
        Surface s = PatternSurface(30, 20);
        s.ForeColor = PaletteValue(QPalette::Shadow); // not the box's colour
        s.LineBox(22, 14, 4, 3, color, filled);
        EXPECT_TRUE(MatchesEverywhere(s, [&](int x, int y) {
            const bool inside = x >= 4 && x <= 22 && y >= 3 && y <= 14;
            const bool edge = x == 4 || x == 22 || y == 3 || y == 14;
            return inside && (filled || edge) ? color : Pattern(x, y);
        })) << filled;
    }
}

TEST(LineBox, InvertingTwiceRestoresAtEveryPlace)
{
    Surface s = PatternSurface(16, 12);
    s.DrawMode = DRAWMODE_INVERT;
    const QImage before = s.Image();
    for (const bool filled : {false, true}) {
        for (int y = -4; y <= 13; ++y) {
            for (int x = -6; x <= 17; ++x) {
                for (const auto& [dx, dy] : {std::pair{5, 3}, {0, 4}, {1, 1}, {0, 0}}) {
                    s.LineBox(x, y, x + dx, y + dy, 0, filled);
                    if (x == 5 && y == 5) {
                        // Each covered pixel changed, so none twice.
                        EXPECT_EQ(Changed(before, s.Image()).size(),
                                  filled || dx < 2 || dy < 2 ? size_t((dx + 1) * (dy + 1))
                                                             : size_t(2 * (dx + dy)));
                    }
                    s.LineBox(x, y, x + dx, y + dy, 0, filled);
                    ASSERT_TRUE(s.Image() == before) << x << "," << y << " " << filled;
                }
            }
        }
    }
}

// Chebyshev distance from (x, y) to the one-pixel outline l..r-1, t..b-1.
int DistanceToOutline(int x, int y, int l, int t, int r, int b)
{
    const int dx = x < l ? l - x : (x > r - 1 ? x - (r - 1) : 0);
    const int dy = y < t ? t - y : (y > b - 1 ? y - (b - 1) : 0);
    if (dx > 0 || dy > 0) {
        return std::max(dx, dy);
    }
    return std::min({x - l, r - 1 - x, y - t, b - 1 - y});
}

// Pen of width 1 is the outline itself; width 3 reaches one pixel out and
// one in. The interior inside the pen takes FillColor only with a solid
// fill style.
TEST(Rectangle, PenCentredOnOutlineAndFillInside)
{
    const int32_t pen = PaletteValue(QPalette::Shadow);
    const int32_t fill = PaletteValue(QPalette::Midlight);
    for (const int w : {1, 3}) {
        for (const int style : {FILLSTYLE_SOLID, FILLSTYLE_TRANSPARENT}) {
            for (const auto& [l, t, r, b] : {std::tuple{5, 4, 20, 19}, {20, 19, 5, 4}, {-3, 2, 6, 30}, {8, 8, 10, 11}}) {
                Surface s = PatternSurface(26, 24);
                s.DrawWidth = w;
                s.ForeColor = pen;
                s.FillColor = fill;
                s.FillStyle = style;
                s.Rectangle(l, t, r, b);
                const int L = std::min(l, r), R = std::max(l, r), T = std::min(t, b), B = std::max(t, b);
                EXPECT_TRUE(MatchesEverywhere(s, [&](int x, int y) {
                    if (DistanceToOutline(x, y, L, T, R, B) <= w / 2) {
                        return pen;
                    }
                    const bool inside = x > L && x < R - 1 && y > T && y < B - 1;
                    return inside && style == FILLSTYLE_SOLID ? fill : Pattern(x, y);
                })) << "w " << w << " style " << style << " at " << l << "," << t << "," << r << "," << b;
            }
        }
    }
}

TEST(Rectangle, InvertingTwiceRestoresAtEveryPlace)
{
    Surface s = PatternSurface(16, 12);
    s.DrawMode = DRAWMODE_INVERT;
    const QImage before = s.Image();
    for (const int w : {1, 3}) {
        for (const int style : {FILLSTYLE_SOLID, FILLSTYLE_TRANSPARENT}) {
            s.DrawWidth = w;
            s.FillStyle = style;
            for (int y = -5; y <= 14; ++y) {
                for (int x = -7; x <= 17; ++x) {
                    for (const auto& [dx, dy] : {std::pair{9, 6}, {2, 2}, {1, 5}}) {
                        s.Rectangle(x, y, x + dx, y + dy);
                        s.Rectangle(x, y, x + dx, y + dy);
                        ASSERT_TRUE(s.Image() == before) << x << "," << y << " w " << w << " style " << style;
                    }
                }
            }
        }
    }
}

// Swatch cells 15 pixels wide, 18 apart: the wide erase stroke around one
// cell covers exactly the 3-pixel gap ring and nothing of it or its
// neighbours.
TEST(Rectangle, EraseStrokeCoversExactlyTheGapAroundACell)
{
    Surface s = PatternSurface(64, 64);
    s.DrawWidth = 3;
    s.FillStyle = FILLSTYLE_TRANSPARENT;
    s.ForeColor = s.BackColor;
    const int left = 28, top = 28, right = left + 15, bottom = top + 15;
    s.Rectangle(left - 2, top - 2, right + 2, bottom + 2);
    expected::Picture want = expected::PatternPicture(64, 64);
    expected::PaintGap(want, {left, top, right, bottom}, PaletteValue(QPalette::Window));
    EXPECT_TRUE(expected::SameImage(s, want));
}

} // namespace
} // namespace platform::testing
