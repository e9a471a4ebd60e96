#include <limits>
#include <utility>

#include "picker/Frames.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

// For every centre of the field: one call inverts exactly the ring around
// it and never its centre, a second call restores the neighbourhood, and
// after all of them the whole image is as before. Rings at the edge of the
// field lie over the frame and the background beyond it.
TEST(DrawPicker, TogglesAtEveryCentre)
{
    platform::Surface s = NewSurface();
    DrawSelFrame(s, color::MakePickerGeometry());
    const Picture before = Picture::Of(s);

    constexpr int Reach = 8; // beyond the ring on every side
    bool inRing[2 * Reach + 1][2 * Reach + 1] = {};
    for (const expected::Offset& o : expected::RingOffsets())
        inRing[o.dy + Reach][o.dx + Reach] = true;

    long wrongOnce = 0, wrongTwice = 0;
    for (int cy = 10; cy <= 265; ++cy) {
        for (int cx = 10; cx <= 265; ++cx) {
            DrawPicker(s, cx, cy);
            for (int dy = -Reach; dy <= Reach; ++dy) {
                const uint32_t* line = s.ScanLine(cy + dy);
                for (int dx = -Reach; dx <= Reach; ++dx) {
                    const int32_t was = before.At(cx + dx, cy + dy);
                    const int32_t want = inRing[dy + Reach][dx + Reach] ? Inverted(was) : was;
                    wrongOnce += expected::ValueOf(line[cx + dx]) != want;
                }
            }
            DrawPicker(s, cx, cy);
            for (int dy = -Reach; dy <= Reach; ++dy) {
                const uint32_t* line = s.ScanLine(cy + dy);
                for (int dx = -Reach; dx <= Reach; ++dx)
                    wrongTwice += expected::ValueOf(line[cx + dx]) != before.At(cx + dx, cy + dy);
            }
        }
    }
    EXPECT_EQ(wrongOnce, 0);
    EXPECT_EQ(wrongTwice, 0);
    EXPECT_TRUE(SameImage(s, before));
    EXPECT_FALSE(inRing[Reach][Reach]);
}

// Whole-image checks of a single call at the corners and edges of the
// field, each after some other routine left a copying, filling, wide pen.
TEST(DrawPicker, OneCallChangesOnlyTheRingWhateverPenWasLeft)
{
    platform::Surface s = NewSurface();
    const Picture background = PatternPicture(ClientWidth, ClientHeight);
    for (int cx : {10, 11, 137, 264, 265})
        for (int cy : {10, 11, 200, 264, 265}) {
            background.PaintOnto(s);
            s.DrawMode = platform::DRAWMODE_COPYPEN;
            s.FillStyle = platform::FILLSTYLE_SOLID;
            s.DrawWidth = 4;
            s.DrawStyle = 2;
            DrawPicker(s, cx, cy);
            Picture want = background;
            expected::InvertRing(want, cx, cy);
            EXPECT_TRUE(SameImage(s, want)) << cx << ", " << cy;
            EXPECT_EQ(s.DrawMode, platform::DRAWMODE_INVERT);
            EXPECT_EQ(s.FillStyle, platform::FILLSTYLE_TRANSPARENT);
            EXPECT_EQ(s.DrawWidth, 1);
            EXPECT_EQ(s.DrawStyle, 0);
        }
}

Picture WithMarks(Picture p, int y)
{
    expected::InvertMarks(p, y);
    return p;
}

TEST(DrawStripMarks, OneCallInvertsExactlyTheMarksAndTwoRestoreForEveryRow)
{
    platform::Surface s = NewSurface();
    PickerState p = StartState();
    DrawHueStrip(s, p);
    const Picture before = Picture::Of(s);
    for (int y = 10; y <= 265; ++y) {
        DrawStripMarks(s, p.Geometry, static_cast<int16_t>(y));
        ASSERT_TRUE(SameImage(s, WithMarks(before, y))) << "row " << y;
        ASSERT_TRUE(SameRegion(s, before, {276, 0, 293, ClientHeight})) << "row " << y;
        EXPECT_EQ(s.DrawWidth, 1);
        EXPECT_EQ(s.DrawMode, platform::DRAWMODE_INVERT);
        DrawStripMarks(s, p.Geometry, static_cast<int16_t>(y));
        ASSERT_TRUE(SameImage(s, before)) << "row " << y;
    }
}

TEST(DrawStripMarks, RowsAtAndBeyondTheImageEdges)
{
    platform::Surface s = NewSurface();
    const Picture background = PatternPicture(ClientWidth, ClientHeight);
    const auto g = color::MakePickerGeometry();
    for (int y : {-32768, -1, 0, 1, 274, 275, 32767}) {
        DrawStripMarks(s, g, static_cast<int16_t>(y));
        EXPECT_TRUE(SameImage(s, WithMarks(background, y))) << "row " << y;
        DrawStripMarks(s, g, static_cast<int16_t>(y));
        EXPECT_TRUE(SameImage(s, background)) << "row " << y;
    }
}

TEST(MarkRow, NearestWithTiesToEvenClampedToSixteenBits)
{
    constexpr int16_t lo = std::numeric_limits<int16_t>::min();
    constexpr int16_t hi = std::numeric_limits<int16_t>::max();
    constexpr float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, int16_t> cases[] = {
        {265.0f, 265},  {10.5f, 10},     {11.5f, 12},     {137.49f, 137},  {137.51f, 138},
        {-0.5f, 0},     {-1.5f, -2},     {32767.0f, hi},  {32767.5f, hi},  {-32768.5f, lo},
        {-32769.0f, lo}, {1e30f, hi},    {-1e30f, lo},    {inf, hi},       {-inf, lo},
    };
    for (const auto& [y, row] : cases)
        EXPECT_EQ(MarkRow(y), row) << y;
    EXPECT_EQ(MarkRow(std::numeric_limits<float>::quiet_NaN()), 0);
}

} // namespace
} // namespace picker
