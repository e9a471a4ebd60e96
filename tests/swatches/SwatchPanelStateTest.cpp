#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "swatches/SwatchPanel.h"
#include "tests/support/Palette.h"
#include "tests/support/Swatches.h"

namespace {

// A press selects the cell under it and nothing else; a gap or a border
// selects nothing and keeps the selection. An added colour is what the next
// reading of the file gives.
TEST(SwatchPanelStateTest, SelectionFollowsCellsAndAnAddedColorIsReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::Surface s(434, 275, expected::PaletteColors(), QGuiApplication::font());
    swatches::SwatchPanel panel(s, dir.path());
    panel.BuildCells();
    panel.Select(1);
    EXPECT_EQ(panel.CustomColorsPath(), dir.path() + "/usercolors.cps");

    const auto cell = expected::CellBox(37);
    EXPECT_EQ(panel.SelectCellAt(cell.left, cell.top), 0) << "the border is no cell";
    EXPECT_EQ(panel.SelectedCell(), 1);
    EXPECT_EQ(panel.SelectCellAt(cell.left + 7, cell.top + 7), 37);
    EXPECT_EQ(panel.SelectedCell(), 37);

    panel.SetSelectedColor(0x123456);
    ASSERT_EQ(panel.SaveCustomColors(), QString());
    swatches::SwatchPanel reader(s, dir.path());
    reader.BuildCells();
    reader.LoadCustomColors();
    EXPECT_EQ(reader.CustomColors()[37], 0x123456);
    EXPECT_EQ(reader.CustomColors()[36], 0);
}

} // namespace
