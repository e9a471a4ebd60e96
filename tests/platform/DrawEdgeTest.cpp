#include "tests/platform/SurfaceTesting.h"
#include "tests/support/Picker.h"

namespace platform::testing {
namespace {

TEST(DrawEdge, SunkenInnerFrameAroundTheField)
{
    const SystemColors colors = PaletteColors();
    ASSERT_EQ(std::set<int32_t>({colors.Face, colors.DarkShadow, colors.Shadow, colors.Light, colors.Highlight}).size(),
              5u);
    Surface s = PatternSurface(300, 280);
    s.DrawMode = DRAWMODE_INVERT; // edges are painted whatever the pen does
    EXPECT_TRUE(s.DrawEdge(RECT{9, 9, 268, 268}, BDR_SUNKENINNER, BF_RECT));
    expected::Picture want = expected::PatternPicture(300, 280);
    expected::PaintSunkenInner(want, {9, 9, 268, 268}, colors.DarkShadow, colors.Light);
    EXPECT_TRUE(expected::SameImage(s, want));
    EXPECT_EQ(s.Point(9, 9), colors.DarkShadow);
    EXPECT_EQ(s.Point(267, 267), colors.Light);
    EXPECT_EQ(s.Point(267, 9), colors.Light);
    EXPECT_EQ(s.Point(9, 267), colors.Light);
}

// The two-pixel edge of the selected swatch: outer ring at the rectangle,
// inner ring one pixel inside; BF_SOFT changes nothing.
TEST(DrawEdge, SunkenEdgeHasTwoRings)
{
    const SystemColors colors = PaletteColors();
    // A cell at 28..42 grown by 3; the smaller image clips the edge.
    const int l = 25, t = 25, r = 46, b = 46;
    for (const auto& [size, flags] : {std::pair{50, BF_RECT}, {50, BF_RECT | BF_SOFT}, {40, BF_RECT}}) {
        Surface s = PatternSurface(size, size);
        EXPECT_TRUE(s.DrawEdge(RECT{l, t, r, b}, EDGE_SUNKEN, flags));
        expected::Picture want = expected::PatternPicture(size, size);
        expected::PaintSunkenEdge(want, {l, t, r, b}, colors);
        EXPECT_TRUE(expected::SameImage(s, want)) << flags;
    }
}

TEST(DrawEdge, OnlyTheNamedSidesAreDrawn)
{
    const SystemColors colors = PaletteColors();
    Surface s = PatternSurface(30, 30);
    EXPECT_TRUE(s.DrawEdge(RECT{4, 5, 20, 25}, BDR_SUNKENINNER, BF_TOP));
    EXPECT_TRUE(s.DrawEdge(RECT{4, 5, 20, 25}, BDR_SUNKENINNER, BF_RIGHT));
    EXPECT_TRUE(MatchesEverywhere(s, [&](int x, int y) {
        if (x == 19 && y >= 5 && y < 25) {
            return colors.Light;
        }
        return y == 5 && x >= 4 && x < 20 ? colors.DarkShadow : Pattern(x, y);
    }));
}

TEST(DrawEdge, RaisedOrEmptyDrawsNothing)
{
    Surface s = PatternSurface(30, 30);
    const QImage before = s.Image();
    EXPECT_FALSE(s.DrawEdge(RECT{2, 2, 20, 20}, BDR_RAISEDINNER, BF_RECT));
    EXPECT_FALSE(s.DrawEdge(RECT{2, 2, 20, 20}, BDR_RAISEDOUTER | BDR_SUNKENINNER, BF_RECT));
    EXPECT_TRUE(s.DrawEdge(RECT{20, 20, 2, 2}, EDGE_SUNKEN, BF_RECT));
    EXPECT_TRUE(s.DrawEdge(RECT{2, 2, 20, 20}, EDGE_SUNKEN, 0));
    EXPECT_TRUE(s.Image() == before);
}

// Painted cell, edge around it, wide erase stroke in the back colour: the
// gap is background again and the cell never changed.
TEST(DrawEdge, EraseStrokeRemovesTheEdge)
{
    Surface s(64, 64, PaletteColors(), QGuiApplication::font());
    s.FillStyle = FILLSTYLE_SOLID;
    s.ForeColor = 0;
    s.FillColor = PaletteValue(QPalette::Dark);
    const int left = 28, top = 28, right = 43, bottom = 43;
    s.Rectangle(left, top, right, bottom);
    const QImage painted = s.Image();
    s.DrawEdge(RECT{left - 3, top - 3, right + 3, bottom + 3}, EDGE_SUNKEN, BF_RECT | BF_SOFT);
    for (const auto& [x, y] : Changed(painted, s.Image())) {
        const bool cell = x >= left && x < right && y >= top && y < bottom;
        EXPECT_FALSE(cell) << x << "," << y;
    }
    s.DrawWidth = 3;
    s.FillStyle = FILLSTYLE_TRANSPARENT;
    s.ForeColor = s.BackColor;
    s.Rectangle(left - 2, top - 2, right + 2, bottom + 2);
    EXPECT_TRUE(s.Image() == painted);
}

} // namespace
} // namespace platform::testing
