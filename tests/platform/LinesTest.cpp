#include <cmath>
#include <cstdlib>
#include <array>
#include <map>

#include "tests/platform/SurfaceTesting.h"
#include "tests/support/Picker.h"

namespace platform::testing {
namespace {

// A horizontal or vertical line of width w covers the end points' span and
// the w rows (columns) from centre - w / 2 on.
TEST(Line, StraightLinesCoverTheirSpanWithoutCaps)
{
    const int32_t fore = PaletteValue(QPalette::Shadow);
    for (int w = 1; w <= 3; ++w) {
        for (const auto& ends : {std::array{5, 14, 7}, {14, 5, 0}, {-3, 4, 19}, {30, 15, 10}, {8, 8, 3}}) {
            const int x1 = ends[0], x2 = ends[1], y = ends[2];
            Surface h = PatternSurface(24, 20);
            h.DrawWidth = w;
            h.ForeColor = fore;
            h.Line(x1, y, x2, y);
            EXPECT_TRUE(MatchesEverywhere(h, [&](int x, int py) {
                const bool across = py >= y - w / 2 && py <= y - w / 2 + w - 1;
                const bool along = x >= std::min(x1, x2) && x <= std::max(x1, x2);
                // A single point is the pen's square.
                const bool point = x1 == x2 && x >= x1 - w / 2 && x <= x1 - w / 2 + w - 1;
                return across && (along || point) ? fore : Pattern(x, py);
            })) << "horizontal w " << w << " x " << x1 << ".." << x2 << " y " << y;

            Surface v = PatternSurface(20, 24);
            v.DrawWidth = w;
            v.ForeColor = fore;
            v.Line(y, x1, y, x2);
            EXPECT_TRUE(MatchesEverywhere(v, [&](int px, int py) {
                const bool across = px >= y - w / 2 && px <= y - w / 2 + w - 1;
                const bool along = py >= std::min(x1, x2) && py <= std::max(x1, x2);
                const bool point = x1 == x2 && py >= x1 - w / 2 && py <= x1 - w / 2 + w - 1;
                return across && (along || point) ? fore : Pattern(px, py);
            })) << "vertical w " << w << " y " << x1 << ".." << x2 << " x " << y;
        }
    }
}

// The strip marks: width 2 by inversion beside a strip at 277..291; they
// never reach the strip and a second call restores everything.
TEST(Line, MarksCoverExactlyTheirColumnsAndToggle)
{
    Surface s = PatternSurface(300, 275);
    s.DrawMode = DRAWMODE_INVERT;
    s.DrawWidth = 2;
    const QImage before = s.Image();
    for (int y = 0; y < s.Height(); ++y) {
        s.Line(294, y, 297, y);
        s.Line(275, y, 272, y);
        if (y == 0 || y == 10 || y == 137 || y == 265 || y == 274) {
            expected::Picture want = expected::PatternPicture(300, 275);
            expected::InvertMarks(want, y);
            EXPECT_TRUE(expected::SameImage(s, want)) << "row " << y;
        }
        s.Line(294, y, 297, y);
        s.Line(275, y, 272, y);
        ASSERT_TRUE(s.Image() == before) << "row " << y;
    }
}

// Any line: one span of DrawWidth pixels per step of its longer axis, from
// end to end, centred within half a pixel of the ideal line.
TEST(Line, SlantedLinesFollowTheIdealLine)
{
    const int ends[][4] = {{2, 3, 21, 9}, {21, 9, 2, 3}, {4, 1, 9, 18}, {9, 18, 4, 1}, {1, 1, 18, 18}, {3, 17, 20, 2}};
    for (int w = 1; w <= 3; ++w) {
        for (const auto& e : ends) {
            Surface s = PatternSurface(24, 22);
            s.DrawMode = DRAWMODE_INVERT;
            s.DrawWidth = w;
            const QImage before = s.Image();
            s.Line(e[0], e[1], e[2], e[3]);
            const bool xMajor = std::abs(e[2] - e[0]) >= std::abs(e[3] - e[1]);
            std::map<int, std::vector<int>> spans; // major -> minor coordinates
            for (const auto& [x, y] : Changed(before, s.Image())) {
                spans[xMajor ? x : y].push_back(xMajor ? y : x);
            }
            const int a0 = xMajor ? e[0] : e[1], a1 = xMajor ? e[2] : e[3];
            const int b0 = xMajor ? e[1] : e[0], b1 = xMajor ? e[3] : e[2];
            ASSERT_EQ(spans.size(), static_cast<size_t>(std::abs(a1 - a0) + 1));
            EXPECT_EQ(spans.begin()->first, std::min(a0, a1));
            for (auto& [major, minors] : spans) {
                std::sort(minors.begin(), minors.end());
                ASSERT_EQ(minors.size(), static_cast<size_t>(w)) << major;
                EXPECT_EQ(minors.back() - minors.front(), w - 1) << major;
                const double ideal = b0 + double(b1 - b0) * (major - a0) / (a1 - a0);
                EXPECT_LE(std::abs(minors.front() + w / 2 - ideal), 0.5) << major;
            }
            s.Line(e[0], e[1], e[2], e[3]);
            EXPECT_TRUE(s.Image() == before);
        }
    }
}

// Inverting lines are toggles wherever they lie, also partly or wholly off
// the image.
TEST(Line, InvertingTwiceRestoresAtEveryPlace)
{
    Surface s = PatternSurface(16, 12);
    s.DrawMode = DRAWMODE_INVERT;
    const QImage before = s.Image();
    for (int w = 1; w <= 3; ++w) {
        s.DrawWidth = w;
        for (int y = -3; y <= 14; ++y) {
            for (int x = -5; x <= 18; ++x) {
                for (const auto& [dx, dy] : {std::pair{4, 0}, {0, -4}, {5, 3}, {-2, 6}, {0, 0}}) {
                    s.Line(x, y, x + dx, y + dy);
                    s.Line(x, y, x + dx, y + dy);
                    ASSERT_TRUE(s.Image() == before) << x << "," << y << " +" << dx << "," << dy << " w " << w;
                }
            }
        }
    }
}

TEST(LineTo, LeavesOutItsEndPoint)
{
    const int32_t fore = PaletteValue(QPalette::Dark);
    Surface s = PatternSurface(300, 20);
    s.ForeColor = fore;
    s.MoveToEx(277, 5);
    s.LineTo(292, 5);
    EXPECT_TRUE(MatchesEverywhere(s, [&](int x, int y) {
        return y == 5 && x >= 277 && x <= 291 ? fore : Pattern(x, y);
    }));

    // Leftwards and past the image's edges, the same rule.
    Surface l = PatternSurface(30, 10);
    l.ForeColor = fore;
    l.MoveToEx(20, 4);
    l.LineTo(5, 4);
    l.MoveToEx(-10, 6);
    l.LineTo(100, 6);
    l.MoveToEx(3, 50);
    l.LineTo(9, 50);
    EXPECT_TRUE(MatchesEverywhere(l, [&](int x, int y) {
        return (y == 4 && x >= 6 && x <= 20) || y == 6 ? fore : Pattern(x, y);
    }));

    // A path: each corner belongs to the segment leaving it, so inverting
    // changes it once; the last end point stays untouched.
    Surface p = PatternSurface(20, 20);
    p.DrawMode = DRAWMODE_INVERT;
    Surface whole = PatternSurface(20, 20);
    whole.DrawMode = DRAWMODE_INVERT;
    p.MoveToEx(2, 3);
    p.LineTo(15, 3);
    p.LineTo(15, 11);
    p.LineTo(4, 17);
    whole.Line(2, 3, 14, 3);
    whole.Line(15, 3, 15, 10);
    whole.Line(15, 11, 4, 17);
    whole.Line(4, 17, 4, 17);
    EXPECT_TRUE(p.Image() == whole.Image());
    EXPECT_EQ(p.Point(4, 17), Pattern(4, 17));
    EXPECT_NE(p.Point(15, 11), Pattern(15, 11));

    // A zero-length segment draws nothing.
    const QImage before = p.Image();
    p.MoveToEx(7, 7);
    p.LineTo(7, 7);
    EXPECT_TRUE(p.Image() == before);
}

} // namespace
} // namespace platform::testing
