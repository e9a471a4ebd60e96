#include <algorithm>
#include <climits>

#include "tests/platform/SurfaceTesting.h"
#include "tests/support/Band.h"
#include "tests/support/Picker.h"

namespace platform::testing {
namespace {

PixelSet AsSet(const PixelList& pixels)
{
    PixelSet out;
    for (const Pixel& p : pixels) {
        out.insert({p.x, p.y});
    }
    return out;
}

// A straight line's box holds exactly the pixels the general line walk
// lists, ends, pen widths and clipping included; a slanted line has none.
TEST(StraightLineBox, CoversWhatTheLineWalkLists)
{
    const ClipSize clip{12, 10};
    for (const int width : {0, 2, 3}) { // 0 counts as 1
        for (const bool includeEnd : {true, false}) {
            for (int a = -3; a <= 14; ++a) {
                for (int b = -3; b <= 14; ++b) {
                    for (const int c : {-2, 0, 5, 11}) {
                        // Horizontal from (a, c) to (b, c), vertical from
                        // (c, a) to (c, b).
                        for (const bool vertical : {false, true}) {
                            const int x1 = vertical ? c : a, y1 = vertical ? a : c;
                            const int x2 = vertical ? c : b, y2 = vertical ? b : c;
                            const auto box = StraightLineBox(x1, y1, x2, y2, width, includeEnd);
                            ASSERT_TRUE(box.has_value());
                            const PixelList listed = LinePixels(x1, y1, x2, y2, width, includeEnd, clip);
                            ASSERT_EQ(AsSet(expected::BandPixels(*box, Box{}, clip)), AsSet(listed))
                                << x1 << "," << y1 << " to " << x2 << "," << y2 << " w " << width << " end "
                                << includeEnd;
                        }
                    }
                }
            }
        }
    }
    EXPECT_FALSE(StraightLineBox(0, 0, 3, 1, 1, true).has_value());
    EXPECT_FALSE(StraightLineBox(5, 5, 4, 9, 2, false).has_value());
    // Far ends: the box keeps them exactly.
    const auto far = StraightLineBox(INT_MIN, 4, INT_MAX, 4, 3, false);
    ASSERT_TRUE(far.has_value());
    EXPECT_EQ(far->left, INT_MIN);
    EXPECT_EQ(far->right, static_cast<long long>(INT_MAX) - 1);
    EXPECT_EQ(far->top, 3);
    EXPECT_EQ(far->bottom, 5);
}

// The surface paints straight figures by spans; applying their pixel
// lists one by one must give the same image, in both pen modes, wherever
// the figure lies against the image's edges.
TEST(Spans, StraightFiguresPaintTheirPixelListsExactly)
{
    const int32_t pen = PaletteValue(QPalette::Shadow);
    const int32_t fill = PaletteValue(QPalette::Midlight);
    const ClipSize clip{16, 12};
    const auto apply = [](Surface& s, const PixelList& pixels, int32_t color, int mode) {
        for (const Pixel& p : pixels) {
            uint32_t& word = s.ScanLine(p.y)[p.x];
            word = mode == DRAWMODE_INVERT ? word ^ 0x00FFFFFFu : ToQRgb(color);
        }
    };
    for (const int mode : {DRAWMODE_COPYPEN, DRAWMODE_INVERT}) {
        for (int y = -5; y <= 13; y += 3) {
            for (int x = -6; x <= 16; x += 3) {
                for (const auto& [dx, dy] : {std::pair{7, 5}, {1, 4}, {0, 0}, {-3, 2}}) {
                    for (const int w : {1, 2, 3}) {
                        // Rectangle: the pen's band and, filled, the inside.
                        Surface got = PatternSurface(clip.width, clip.height);
                        Surface want = PatternSurface(clip.width, clip.height);
                        got.DrawMode = mode;
                        got.DrawWidth = w;
                        got.ForeColor = pen;
                        got.FillColor = fill;
                        got.FillStyle = FILLSTYLE_SOLID;
                        got.Rectangle(x, y, x + dx, y + dy);
                        const long long l = std::min(x, x + dx), r = std::max(x, x + dx);
                        const long long t = std::min(y, y + dy), b = std::max(y, y + dy);
                        if (l != r && t != b) {
                            const long long right = PenStart(r - 1, w), bottom = PenStart(b - 1, w);
                            const Box outer{PenStart(l, w), PenStart(t, w), right + w - 1, bottom + w - 1};
                            const Box inner{outer.left + w, outer.top + w, right - 1, bottom - 1};
                            apply(want, expected::BandPixels(outer, inner, clip), pen, mode);
                            apply(want, expected::BandPixels(inner, Box{}, clip), fill, mode);
                        }
                        ASSERT_TRUE(got.Image() == want.Image()) << "rectangle " << x << "," << y << " +" << dx
                                                                 << "," << dy << " w " << w << " mode " << mode;

                        // Lines, with and without their end point.
                        Surface line = PatternSurface(clip.width, clip.height);
                        Surface lineWant = PatternSurface(clip.width, clip.height);
                        line.DrawMode = mode;
                        line.DrawWidth = w;
                        line.ForeColor = pen;
                        line.Line(x, y, x + dx, y);
                        line.MoveToEx(x, y);
                        line.LineTo(x, y + dy);
                        apply(lineWant, LinePixels(x, y, x + dx, y, w, true, clip), pen, mode);
                        apply(lineWant, LinePixels(x, y, x, y + dy, w, false, clip), pen, mode);
                        ASSERT_TRUE(line.Image() == lineWant.Image())
                            << "lines " << x << "," << y << " +" << dx << "," << dy << " w " << w << " mode " << mode;
                    }
                    for (const bool filled : {false, true}) {
                        Surface got = PatternSurface(clip.width, clip.height);
                        Surface want = PatternSurface(clip.width, clip.height);
                        got.DrawMode = mode;
                        got.LineBox(x, y, x + dx, y + dy, fill, filled);
                        const Box outer{std::min(x, x + dx), std::min(y, y + dy), std::max(x, x + dx),
                                        std::max(y, y + dy)};
                        const Box inner =
                            filled ? Box{} : Box{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
                        apply(want, expected::BandPixels(outer, inner, clip), fill, mode);
                        ASSERT_TRUE(got.Image() == want.Image())
                            << "box " << x << "," << y << " +" << dx << "," << dy << " filled " << filled;
                    }
                }
            }
        }
    }
}

// Every pixel of rings small and large, whole or mostly off the image,
// against the definition.
TEST(Spans, CircleIsExactlyTheOctantRuleEverywhere)
{
    struct Case {
        int cx, cy, r;
    };
    std::vector<Case> cases;
    for (int r = 1; r <= 30; ++r) {
        cases.push_back({32, 31, r});
    }
    for (const Case c : {Case{-400, 20, 420}, {30, 900, 880}, {-5000, -5000, 7071}, {2000, 30, 1975},
                         {31, 31, 1000}, {-1, -1, 45}}) {
        cases.push_back(c);
    }
    for (const Case& c : cases) {
        Surface s = PatternSurface(64, 62);
        s.DrawMode = DRAWMODE_INVERT;
        s.Circle(c.cx, c.cy, c.r);
        ASSERT_TRUE(MatchesEverywhere(s, [&](int x, int y) {
            return expected::OnCircle(c.r, x - c.cx, y - c.cy) ? Inverted(Pattern(x, y)) : Pattern(x, y);
        })) << c.cx << "," << c.cy << " r " << c.r;
    }
}

} // namespace
} // namespace platform::testing
