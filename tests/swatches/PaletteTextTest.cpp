#include <random>

#include <gtest/gtest.h>

#include "swatches/PaletteText.h"

using swatches::PaletteFormat;
using swatches::ReadPalette;

TEST(PaletteTextTest, ExportsAsOtherProgramsReadThemAndReadsBackEveryCell)
{
    swatches::CustomColorArray cells;
    std::mt19937 rng(17);
    for (int32_t& v : cells)
        v = int32_t(rng() & 0xFFFFFF);
    cells[1] = 0x563412; // #123456
    cells[2] = -5;       // no colour: black
    EXPECT_TRUE(swatches::FormatPalette(cells, PaletteFormat::Gimp)
                    .startsWith("GIMP Palette\nName: Tinctara custom colours\nColumns: 16\n"
                                " 18  52  86\t#123456\n  0   0   0\t#000000\n"));
    EXPECT_TRUE(swatches::FormatPalette(cells, PaletteFormat::Css).startsWith(":root {\n  --tinctara-1: #123456;\n"));
    EXPECT_TRUE(swatches::FormatPalette(cells, PaletteFormat::Css).endsWith(";\n}\n"));
    EXPECT_TRUE(swatches::FormatPalette(cells, PaletteFormat::Hex).startsWith("#123456\n#000000\n"));
    cells[2] = 0;
    for (PaletteFormat format : {PaletteFormat::Gimp, PaletteFormat::Css, PaletteFormat::Hex}) {
        const swatches::PaletteRead read = ReadPalette(swatches::FormatPalette(cells, format));
        EXPECT_EQ(read.skipped, 0);
        EXPECT_EQ(read.colors, std::vector<int32_t>(cells.begin() + 1, cells.end())) << int(format);
    }
}
