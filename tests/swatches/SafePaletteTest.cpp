#include <limits>
#include <random>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "color/SafeColor.h"
#include "swatches/CellGrid.h"
#include "swatches/CustomColors.h"
#include "swatches/SafePalette.h"
#include "tests/support/Compare.h"
#include "tests/support/Palette.h"
#include "tests/support/Swatches.h"

using namespace expected;

namespace {

platform::Surface NewSurface(const Picture& p)
{
    platform::Surface s(ClientWidth, ClientHeight, PaletteColors(), QGuiApplication::font());
    p.PaintOnto(s);
    return s;
}

const Picture& Background()
{
    static const Picture p = PatternPicture(ClientWidth, ClientHeight);
    return p;
}

const swatches::Cells& Cells()
{
    static const swatches::Cells cells = swatches::BuildSafeCells();
    return cells;
}

} // namespace

TEST(SafePaletteTest, SafeColorsAgreeWithTheLookupAndTheTable)
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
        platform::Surface s = NewSurface(Background());
        s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
        s.DrawMode = platform::DRAWMODE_INVERT;
        s.DrawWidth = 5;
        swatches::DrawSafePalette(s, Cells(), int16_t(selected));

        Picture want = Background();
        for (int k = 1; k <= CellCount; ++k)
            PaintCell(want, k, SafeColor(k));
        PaintSelectionEdge(want, selected, PaletteColors());
        EXPECT_TRUE(SameImage(s, want)) << "selected " << selected;
    }
}

TEST(SafePaletteTest, EdgeOfEveryCellSitsInItsGapAndErasesToTheBackground)
{
    const platform::SystemColors colors = PaletteColors();
    platform::Surface s = NewSurface(Picture(ClientWidth, ClientHeight, colors.Face));
    swatches::DrawSafePalette(s, Cells(), 1);
    swatches::DrawSafePicker(s, Cells(), 1, true);
    Picture bare(ClientWidth, ClientHeight, colors.Face);
    for (int k = 1; k <= CellCount; ++k)
        PaintCell(bare, k, SafeColor(k));
    ASSERT_TRUE(SameImage(s, bare));

    for (int k = 1; k <= CellCount; ++k) {
        swatches::DrawSafePicker(s, Cells(), int16_t(k), false);
        Picture edged = bare;
        PaintSelectionEdge(edged, k, colors);
        ASSERT_TRUE(SameImage(s, edged)) << "edge of cell " << k;
        swatches::DrawSafePicker(s, Cells(), int16_t(k), true);
        ASSERT_TRUE(SameImage(s, bare)) << "erased edge of cell " << k;
    }
}

TEST(SafePaletteTest, EdgeAndErasureWriteOnlyTheGapRing)
{
    // On a picture that differs everywhere, drawing shows exactly the two
    // edge rings and erasing exactly the three gap rings.
    const platform::SystemColors colors = PaletteColors();
    platform::Surface s = NewSurface(Background());
    for (int k = 1; k <= CellCount; ++k) {
        Background().PaintOnto(s);
        swatches::DrawSafePicker(s, Cells(), int16_t(k), false);
        Picture edged = Background();
        PaintSelectionEdge(edged, k, colors);
        ASSERT_TRUE(SameImage(s, edged)) << "edge of cell " << k;

        Background().PaintOnto(s);
        s.ForeColor = 0x123456;
        swatches::DrawSafePicker(s, Cells(), int16_t(k), true);
        Picture erased = Background();
        PaintGap(erased, CellBox(k), colors.Face);
        ASSERT_TRUE(SameImage(s, erased)) << "erasure around cell " << k;
    }
}

TEST(SafePaletteTest, NoCellIndexDrawsNoEdge)
{
    platform::Surface s = NewSurface(Background());
    for (int16_t index : {int16_t(0), int16_t(-1), int16_t(225), int16_t(32767)})
        for (bool clear : {false, true})
            swatches::DrawSafePicker(s, Cells(), index, clear);
    EXPECT_TRUE(SameImage(s, Background()));
}

TEST(SafePaletteTest, CustomPanelPaintsEveryValueAndBlackForNonColors)
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

    platform::Surface s = NewSurface(Background());
    int refreshes = 0;
    s.SetRefreshHandler([&] { ++refreshes; });
    s.DrawWidth = 4;
    s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
    swatches::PaintCustomColors(s, Cells(), colors, 40);

    const Picture want = PanelPicture([&](int k) { return colors[k]; }, 40, PaletteColors());
    EXPECT_TRUE(SameImage(s, want));
    EXPECT_GE(refreshes, 1);
}
