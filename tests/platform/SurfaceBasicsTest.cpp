#include <climits>

#include <QFontMetrics>

#include "tests/platform/SurfaceTesting.h"

namespace platform::testing {
namespace {

TEST(ColorValues, ChannelsMapToQtAndBack)
{
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 15) {
                const int32_t value = r + 256 * g + 65536 * b;
                const uint32_t rgb = ToQRgb(value);
                ASSERT_EQ(rgb, qRgb(r, g, b)) << value;
                ASSERT_EQ(FromQRgb(rgb), value);
                ASSERT_EQ(FromQRgb(rgb & 0x00FFFFFF), value) << "alpha is ignored";
            }
        }
    }
    // Values that are no colour paint black.
    for (const int32_t v : {-1, 0x1000000, INT_MIN, INT_MAX}) {
        EXPECT_EQ(ToQRgb(v), qRgb(0, 0, 0)) << v;
    }
}

TEST(Surface, StartsInTheFaceColorAndClsClearsToBackColor)
{
    const SystemColors colors = PaletteColors();
    Surface s(23, 17, colors, QGuiApplication::font());
    EXPECT_EQ(s.Width(), 23);
    EXPECT_EQ(s.Height(), 17);
    EXPECT_EQ(s.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(s.BackColor, colors.Face);
    EXPECT_TRUE(MatchesEverywhere(s, [&](int, int) { return colors.Face; }));

    s.ForeColor = colors.Shadow;
    s.Line(0, 0, 22, 16);
    s.CurrentX = 5;
    s.CurrentY = 9;
    s.BackColor = colors.Light;
    s.Cls();
    EXPECT_TRUE(MatchesEverywhere(s, [&](int, int) { return colors.Light; }));
    EXPECT_EQ(s.CurrentX, 0);
    EXPECT_EQ(s.CurrentY, 0);
}

TEST(Surface, PointReadsInsideAndMinusOneOutside)
{
    Surface s = PatternSurface(13, 9);
    EXPECT_TRUE(MatchesEverywhere(s, Pattern));
    for (int y = -2; y <= 10; ++y) {
        for (int x = -2; x <= 14; ++x) {
            const bool inside = x >= 0 && x < 13 && y >= 0 && y < 9;
            EXPECT_EQ(s.Point(x, y), inside ? Pattern(x, y) : -1) << x << "," << y;
        }
    }
    EXPECT_EQ(s.Point(INT_MIN, 0), -1);
    EXPECT_EQ(s.Point(0, INT_MAX), -1);
}

TEST(Surface, EmptyImageTakesEveryCallQuietly)
{
    Surface s(0, -4, PaletteColors(), QGuiApplication::font());
    s.DrawMode = DRAWMODE_INVERT;
    s.Line(-3, -3, 5, 5);
    s.Circle(0, 0, 5);
    s.Rectangle(0, 0, 4, 4);
    s.LineBox(0, 0, 3, 3, 0, true);
    s.DrawEdge(RECT{0, 0, 5, 5}, EDGE_SUNKEN, BF_RECT);
    s.Print("x");
    s.Cls();
    EXPECT_EQ(s.Point(0, 0), -1);
}

TEST(Surface, FarAwayFiguresDrawNothing)
{
    Surface s = PatternSurface(10, 10);
    const QImage before = s.Image();
    s.DrawWidth = 3;
    s.Line(INT_MIN, INT_MIN, INT_MAX, INT_MIN);
    s.Line(INT_MAX, INT_MAX, INT_MAX, INT_MIN);
    s.Rectangle(INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX);
    s.Circle(INT_MAX, INT_MAX, INT_MAX);
    s.MoveToEx(INT_MIN, 50);
    s.LineTo(INT_MAX, 50);
    EXPECT_TRUE(s.Image() == before);
    // A line from far away still crosses the image.
    s.Line(INT_MIN, 4, INT_MAX, 4);
    EXPECT_TRUE(MatchesEverywhere(s, [](int x, int y) { return y >= 3 && y <= 5 ? 0 : Pattern(x, y); }));
}

// Text lands inside its line box at the text position; the position then
// moves one line down and back to x 0.
TEST(Surface, PrintWritesOneLineAndMovesDown)
{
    const SystemColors colors = PaletteColors();
    Surface s(120, 60, colors, QGuiApplication::font());
    const QFontMetrics metrics(s.Font(), &s.Image());
    ASSERT_GT(s.LineHeight(), 0);
    const QImage before = s.Image();
    s.ForeColor = 0;
    s.CurrentX = 12;
    s.CurrentY = 7;
    s.Print("Hg: #FF0000"); // a capital and a descender
    EXPECT_EQ(s.CurrentX, 0);
    EXPECT_EQ(s.CurrentY, 7 + s.LineHeight());

    const QRect ink = metrics.boundingRect(QStringLiteral("Hg: #FF0000")).translated(12, 7 + metrics.ascent());
    const PixelSet changed = Changed(before, s.Image());
    ASSERT_FALSE(changed.empty());
    int darkest = 255;
    int inkTop = INT_MAX, inkBottom = INT_MIN;
    for (const auto& [x, y] : changed) {
        inkTop = std::min(inkTop, y);
        inkBottom = std::max(inkBottom, y);
        EXPECT_GE(y, 7);
        EXPECT_LT(y, 7 + s.LineHeight());
        EXPECT_GE(x, std::min(12, ink.left()));
        EXPECT_LE(x, ink.right());
        darkest = std::min(darkest, qGray(s.Image().pixel(x, y)));
    }
    EXPECT_LT(darkest, 64) << "text is drawn in ForeColor";
    // The line's top is at the text position: the capital reaches the upper
    // half of the line and the descender below the baseline.
    EXPECT_LT(inkTop, 7 + s.LineHeight() / 2);
    EXPECT_GE(inkBottom, 7 + metrics.ascent());

    // The next line starts below the first without touching it.
    const QImage first = s.Image();
    s.CurrentX = 12;
    s.Print("G: 0");
    const PixelSet second = Changed(first, s.Image());
    EXPECT_FALSE(second.empty());
    for (const auto& [x, y] : second) {
        EXPECT_GE(y, 7 + s.LineHeight());
        EXPECT_LT(y, 7 + 2 * s.LineHeight());
    }
}

TEST(Surface, RefreshCallsTheHandler)
{
    Surface s(4, 4, PaletteColors(), QGuiApplication::font());
    s.Refresh();
    int calls = 0;
    s.SetRefreshHandler([&] { ++calls; });
    s.Refresh();
    s.Refresh();
    EXPECT_EQ(calls, 2);
}

// What the form's own drawing methods draw shows without Refresh, so the
// window hears of every such change; device-context calls wait for Refresh.
TEST(Surface, DrawingMethodsReportTheirChanges)
{
    Surface s(40, 40, PaletteColors(), QGuiApplication::font());
    int changes = 0;
    s.SetChangeHandler([&] { ++changes; });
    s.Cls();
    s.Line(1, 1, 5, 5);
    s.LineBox(2, 2, 8, 8, 0, true);
    s.Circle(20, 20, 5);
    s.Print("x");
    EXPECT_EQ(changes, 5);
    s.MoveToEx(0, 3);
    s.LineTo(10, 3);
    s.Rectangle(1, 1, 9, 9);
    s.DrawEdge({0, 0, 20, 20}, BDR_SUNKENINNER, BF_RECT);
    EXPECT_EQ(changes, 5);
}

} // namespace
} // namespace platform::testing
