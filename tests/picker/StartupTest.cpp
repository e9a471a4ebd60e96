#include "picker/HueField.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

// The window's start-up drawing, in its order: strip, marks at the bottom
// row, ring at the top-right corner, field for red.
TEST(Startup, PickerAreaIsExactlyTheExpectedPicture)
{
    platform::Surface s(ClientWidth, ClientHeight, TestColors(), QFont());
    PickerState p;
    p.Geometry = color::MakePickerGeometry();
    InitDibHeader(p.DibHeader);
    DrawHueStrip(s, p);
    p.FieldX = p.Geometry.FieldRight;
    p.FieldY = p.Geometry.FieldTop;
    p.StripY = static_cast<float>(p.Geometry.StripBottom);
    DrawStripMarks(s, p.Geometry, MarkRow(p.StripY));
    DrawPicker(s, p.FieldX, p.FieldY);
    DrawHueField(s, p, 255, 0, 0);

    const auto& c = TestColors();
    Picture want; // all background
    for (int k = 0; k < 256; ++k)
        for (int i = 0; i < 256; ++i)
            want.at(10 + i, 10 + k) = FieldColor(255, 0, 0, i, k);
    for (int i = 0; i < 256; ++i)
        for (int x = 277; x <= 291; ++x)
            want.at(x, 10 + i) = StripColor(i);
    PaintFrame(want, {9, 9, 268, 268}, c.DarkShadow, c.Light);
    PaintFrame(want, {276, 9, 293, 268}, c.DarkShadow, c.Light);
    for (int y : {264, 265})
        for (int x : {272, 273, 274, 275, 294, 295, 296, 297})
            want.at(x, y) = Inverted(c.Face);
    InvertRing(want, 265, 10);

    EXPECT_TRUE(SameRegion(s, want, 0, 0, 300, ClientHeight - 1));
    EXPECT_EQ(s.Point(265, 10), Rgb(255, 0, 0));
    EXPECT_EQ(s.Point(9, 9), c.DarkShadow);
    EXPECT_EQ(s.Point(267, 267), c.Light);
    for (int y = 20; y <= 265; ++y)
        EXPECT_EQ(s.Point(266, y), c.Face) << y;
}

} // namespace
} // namespace picker
