#include <cstring>
#include <random>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "SwatchPictures.h"
#include "color/SafeColor.h"
#include "swatches/CellGrid.h"
#include "swatches/CustomColors.h"
#include "swatches/SafePalette.h"

using namespace swatch_testing;

namespace {

constexpr int Width = 434, Height = 275;

// Arbitrary and all different, so a pixel in the wrong one shows.
platform::SystemColors Colors()
{
    platform::SystemColors c;
    c.Face = 0xC8D0D4;
    c.DarkShadow = 0x291B0D;
    c.Shadow = 0x7A7978;
    c.Light = 0xC7E7E6;
    c.Highlight = 0xF8F9FA;
    return c;
}

platform::Surface NewSurface()
{
    return platform::Surface(Width, Height, Colors(), QGuiApplication::font());
}

// A different colour at every pixel, so any write shows.
QImage Pattern()
{
    QImage img(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            Put(img, x, y, ((x * 97 + y * 57 + 11) & 0xFF) | ((x * 13 + y * 211 + 5) & 0xFF) << 8 |
                               ((x * y + 3 * x + 71) & 0xFF) << 16);
    return img;
}

void Load(platform::Surface& s, const QImage& img)
{
    for (int y = 0; y < Height; ++y)
        std::memcpy(s.ScanLine(y), img.constScanLine(y), sizeof(uint32_t) * Width);
}

// The gap ring of width 3 around cell k set to `value`.
void PaintGap(QImage& img, int k, int32_t value)
{
    const Box c = CellBox(k);
    for (int y = c.top - 3; y < c.bottom + 3; ++y)
        for (int x = c.left - 3; x < c.right + 3; ++x)
            if (x < c.left || x >= c.right || y < c.top || y >= c.bottom)
                Put(img, x, y, value);
}

const swatches::Cells& Cells()
{
    static const swatches::Cells cells = swatches::BuildSafeCells();
    return cells;
}

} // namespace

TEST(SafePaletteTest, SafeColoursAgreeWithTheLookupAndTheTable)
{
    for (int k = 1; k <= 216; ++k) {
        int16_t red = -1, green = -1, blue = -1;
        std::string hex;
        EXPECT_EQ(color::GetSafeColor(int16_t(k), red, green, blue, hex), SafeColor(k)) << k;
        EXPECT_EQ(red + 256 * green + 65536 * blue, SafeColor(k)) << k;
    }
    const struct {
        int k;
        int32_t value;
    } table[] = {{1, 0},         {2, 3342336}, {6, 16711680}, {7, 13056},
                 {37, 51},       {181, 255},   {211, 65535},  {216, 16777215}};
    for (const auto& t : table)
        EXPECT_EQ(SafeColor(t.k), t.value) << t.k;
}

TEST(SafePaletteTest, PalettePaintsEveryCellAndTheEdgeAndNothingElse)
{
    for (int selected : {1, 16, 40, 209, 216, 217, 224}) {
        platform::Surface s = NewSurface();
        Load(s, Pattern());
        s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
        s.DrawMode = platform::DRAWMODE_INVERT;
        s.DrawWidth = 5;
        swatches::DrawSafePalette(s, Cells(), int16_t(selected));

        QImage want = Pattern();
        for (int k = 1; k <= 224; ++k)
            PaintCell(want, k, SafeColor(k));
        PaintEdge(want, selected, Colors());
        EXPECT_TRUE(SameImage(s.Image(), want)) << "selected " << selected;
    }
}

TEST(SafePaletteTest, EdgeOfEveryCellSitsInItsGapAndErasesToTheBackground)
{
    platform::Surface s = NewSurface();
    swatches::DrawSafePalette(s, Cells(), 1);
    swatches::DrawSafePicker(s, Cells(), 1, true);
    QImage bare = Blank(Width, Height, Colors().Face);
    for (int k = 1; k <= 224; ++k)
        PaintCell(bare, k, SafeColor(k));
    ASSERT_TRUE(SameImage(s.Image(), bare));

    for (int k = 1; k <= 224; ++k) {
        swatches::DrawSafePicker(s, Cells(), int16_t(k), false);
        QImage edged = bare.copy();
        PaintEdge(edged, k, Colors());
        ASSERT_TRUE(SameImage(s.Image(), edged)) << "edge of cell " << k;
        swatches::DrawSafePicker(s, Cells(), int16_t(k), true);
        ASSERT_TRUE(SameImage(s.Image(), bare)) << "erased edge of cell " << k;
    }
}

TEST(SafePaletteTest, EdgeAndErasureWriteOnlyTheGapRing)
{
    // On a picture that differs everywhere, drawing shows exactly the two
    // edge rings and erasing exactly the three gap rings.
    platform::Surface s = NewSurface();
    const QImage pattern = Pattern();
    for (int k = 1; k <= 224; ++k) {
        Load(s, pattern);
        swatches::DrawSafePicker(s, Cells(), int16_t(k), false);
        QImage edged = pattern.copy();
        PaintEdge(edged, k, Colors());
        ASSERT_TRUE(SameImage(s.Image(), edged)) << "edge of cell " << k;

        Load(s, pattern);
        s.ForeColor = 0x123456;
        swatches::DrawSafePicker(s, Cells(), int16_t(k), true);
        QImage erased = pattern.copy();
        PaintGap(erased, k, Colors().Face);
        ASSERT_TRUE(SameImage(s.Image(), erased)) << "erasure around cell " << k;
    }
}

TEST(SafePaletteTest, NoCellIndexDrawsNoEdge)
{
    platform::Surface s = NewSurface();
    Load(s, Pattern());
    for (int16_t index : {int16_t(0), int16_t(-1), int16_t(225), int16_t(32767)})
        for (bool clear : {false, true})
            swatches::DrawSafePicker(s, Cells(), index, clear);
    EXPECT_TRUE(SameImage(s.Image(), Pattern()));
}

TEST(SafePaletteTest, CustomPanelPaintsEveryValueAndBlackForNonColours)
{
    std::mt19937 rng(7);
    swatches::CustomColorArray colors{};
    for (int32_t& v : colors)
        v = int32_t(rng() & 0xFFFFFF);
    colors[3] = -1;
    colors[4] = 16777216;
    colors[5] = std::numeric_limits<int32_t>::min();
    colors[6] = std::numeric_limits<int32_t>::max();
    colors[7] = 16777215;
    colors[8] = 0;
    colors[224] = -5;

    platform::Surface s = NewSurface();
    Load(s, Pattern());
    int refreshes = 0;
    s.SetRefreshHandler([&] { ++refreshes; });
    s.DrawWidth = 4;
    s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
    swatches::PaintCustomColors(s, Cells(), colors, 40);

    QImage want = Blank(Width, Height, Colors().Face);
    for (int k = 1; k <= 224; ++k)
        PaintCell(want, k, colors[k] >= 0 && colors[k] <= 0xFFFFFF ? colors[k] : 0);
    PaintEdge(want, 40, Colors());
    EXPECT_TRUE(SameImage(s.Image(), want));
    EXPECT_GE(refreshes, 1);
}
