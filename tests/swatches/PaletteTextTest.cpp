#include <random>

#include <gtest/gtest.h>

#include "swatches/PaletteText.h"

using swatches::PaletteFormat;
using swatches::ReadPalette;

TEST(PaletteTextTest, ExportsBeginAndEndAsOtherProgramsReadThem)
{
    swatches::CustomColorArray cells{};
    cells[1] = 0x0000FF;   // red
    cells[2] = 0x563412;   // #123456
    cells[3] = -5;         // no colour: black
    cells[224] = 0xFFFFFF;
    const QByteArray gimp = swatches::FormatPalette(cells, PaletteFormat::Gimp);
    EXPECT_TRUE(gimp.startsWith("GIMP Palette\nName: Tinctara custom colours\nColumns: 16\n"
                                "255   0   0\t#FF0000\n 18  52  86\t#123456\n  0   0   0\t#000000\n"));
    EXPECT_TRUE(gimp.endsWith("  0   0   0\t#000000\n255 255 255\t#FFFFFF\n"));
    const QByteArray css = swatches::FormatPalette(cells, PaletteFormat::Css);
    EXPECT_TRUE(css.startsWith(":root {\n  --tinctara-1: #FF0000;\n  --tinctara-2: #123456;\n"));
    EXPECT_TRUE(css.endsWith("  --tinctara-224: #FFFFFF;\n}\n"));
    const QByteArray hex = swatches::FormatPalette(cells, PaletteFormat::Hex);
    EXPECT_TRUE(hex.startsWith("#FF0000\n#123456\n#000000\n#000000\n"));
    EXPECT_EQ(hex.size(), 224 * 8);
}

TEST(PaletteTextTest, EveryFormatReadsBackAllCellsExactly)
{
    std::mt19937 rng(17);
    swatches::CustomColorArray cells;
    for (int32_t& v : cells)
        v = int32_t(rng() & 0xFFFFFF);
    for (PaletteFormat format : {PaletteFormat::Gimp, PaletteFormat::Css, PaletteFormat::Hex}) {
        const swatches::PaletteRead read = ReadPalette(swatches::FormatPalette(cells, format));
        EXPECT_EQ(read.skipped, 0);
        EXPECT_EQ(read.colors, std::vector<int32_t>(cells.begin() + 1, cells.end())) << int(format);
    }
}

TEST(PaletteTextTest, ReadsPalettesAndColourListsAndNamesTheFirstBadLine)
{
    const struct {
        QByteArray text;
        std::vector<int32_t> colors;
        int skipped, firstBad;
    } cases[] = {
        {"GIMP Palette\r\nName: x\r\nColumns: 4\r\n# note\r\n\r\n255 0 0\tRed\r\n0 128 255\r\n", {0xFF, 0xFF8000}, 0, 0},
        {"\xEF\xBB\xBFGIMP Palette\n  1   2   3 named twice\n256 0 0\n1 2\n4 5 6\n", {0x030201, 0x060504}, 2, 3},
        {"GIMP Palette\r7 8 9\rname only\r", {0x090807}, 1, 3},
        {"#FF0000\nrgb(0 128 255)\n\n  rebeccapurple ; \n00ff00\nhsl(120, 100%, 25%)\n",
         {0xFF, 0xFF8000, 0x993366, 0xFF00, 0x8000}, 0, 0},
        {"a list\n#12345\n--x: #010203\n", {0x030201}, 2, 1},
        {"GIMP Palette\nName: empty\n", {}, 0, 0},
        {"Hello\nworld\n", {}, 2, 1},
    };
    for (const auto& c : cases) {
        const swatches::PaletteRead read = ReadPalette(c.text);
        EXPECT_EQ(read.colors, c.colors) << c.text.constData();
        EXPECT_EQ(read.skipped, c.skipped) << c.text.constData();
        EXPECT_EQ(read.firstBadLine, c.firstBad) << c.text.constData();
    }
    EXPECT_EQ(ReadPalette("x\ny\n").firstBadText, QStringLiteral("x"));
}
