#include "picker/PickerView.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

// The strip's colour at its marks is read in one column; that holds only
// while every row of every strip is one colour across its width.
TEST(PickerView, StripColorIsTheWholeRowsColorInEveryMode)
{
    for (const PickerMode mode : {PickerMode::Hue, PickerMode::Saturation, PickerMode::Brightness}) {
        PickerView view(ClientWidth, ClientHeight, PaletteColors(), QGuiApplication::font());
        view.SetUp();
        view.SetMode(mode);
        if (mode == PickerMode::Hue)
            view.DrawHueStrip();
        else
            view.DrawRampStrip(30, 140, 220);
        const color::PickerGeometry& g = view.Geometry();
        for (int row = g.StripTop; row <= g.StripBottom; ++row) {
            view.Place(g.FieldLeft, g.FieldTop, static_cast<float>(row));
            for (int x = g.StripLeft; x < g.StripRight; ++x)
                ASSERT_EQ(view.Surface().Point(x, row), view.StripColor())
                    << "mode " << int(mode) << ", column " << x << ", row " << row;
        }
    }
}

// Marks and ring are drawn inverted: a move leaves the picture as if they
// had been drawn at the new place alone.
TEST(PickerView, MovesLeaveOneRingAndOnePairOfMarks)
{
    PickerView moved(ClientWidth, ClientHeight, PaletteColors(), QGuiApplication::font());
    PickerView fresh(ClientWidth, ClientHeight, PaletteColors(), QGuiApplication::font());
    for (PickerView* v : {&moved, &fresh}) {
        v->SetUp();
        v->DrawHueStrip();
        v->DrawHueField(255, 0, 0);
    }
    moved.Place(100, 100, 50);
    moved.DrawPicker();
    moved.DrawStripMarks();
    moved.MoveRing(140, 30);
    moved.MoveStripMarks(200.4f);
    fresh.Place(140, 30, 200.4f);
    fresh.DrawPicker();
    fresh.DrawStripMarks();
    EXPECT_EQ(moved.Surface().Image(), fresh.Surface().Image());
    EXPECT_EQ(moved.RingColor(), moved.PointAt(140, 30));
}

} // namespace
} // namespace picker
