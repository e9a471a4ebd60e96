#include "PickerTesting.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"

namespace picker::testing {
namespace {

using expected::BrightFieldPixel;
using expected::BrightStripLine;
using expected::SatFieldPixel;
using expected::SatStripLine;

class SatBrightTest : public ::testing::Test {
protected:
    SatBrightTest() : s(NewSurface()), p(StartState())
    {
        // As every other field renderer leaves it; the saturation field
        // takes the header as it finds it.
        p.DibHeader.biWidth = 256;
        p.DibHeader.biHeight = 256;
    }

    // The whole image: `base` with the field by the formula, its frame, and
    // the ring over both.
    template <class F>
    ::testing::AssertionResult FieldIs(Picture want, F formula)
    {
        expected::PaintField(want, formula);
        expected::PaintSunkenInner(want, expected::FieldFrame, PaletteColors().DarkShadow, PaletteColors().Light);
        expected::InvertRing(want, p.FieldX, p.FieldY);
        return SameImage(s, want);
    }

    platform::Surface s;
    PickerState p;
};

TEST_F(SatBrightTest, SaturationFieldEveryPixel)
{
    const Picture before = Picture::Of(s);
    DrawPicker(s, p.FieldX, p.FieldY);
    DrawSatField(s, p);
    EXPECT_TRUE(FieldIs(before, SatFieldPixel));
    // Nothing outside the field, its frame and the ring changed.
    for (int y = 0; y < ClientHeight; ++y)
        for (int x = 0; x < ClientWidth; ++x)
            if (x < 9 || x > 271 || y < 4 || y > 267) {
                ASSERT_EQ(s.Point(x, y), before.At(x, y)) << x << "," << y;
            }

    const struct {
        int x, y;
        int32_t rgb;
    } table[] = {{265, 10, Rgb(255, 0, 0)},  {223, 10, Rgb(255, 0, 252)}, {222, 10, Rgb(249, 0, 255)},
                 {180, 10, Rgb(0, 0, 255)},  {179, 10, Rgb(0, 0, 255)},   {137, 10, Rgb(0, 252, 255)},
                 {95, 10, Rgb(0, 255, 3)},   {94, 10, Rgb(0, 255, 0)},    {53, 10, Rgb(246, 255, 0)},
                 {52, 10, Rgb(255, 249, 0)}, {10, 10, Rgb(255, 0, 0)},    {265, 138, Rgb(127, 0, 0)},
                 {223, 138, Rgb(127, 0, 126)}, {136, 138, Rgb(0, 127, 124)}, {100, 265, 0}};
    // The ring sits at the corner (265, 10): read the reference points with
    // it moved away.
    DrawPicker(s, p.FieldX, p.FieldY);
    for (const auto& r : table)
        EXPECT_EQ(s.Point(r.x, r.y), r.rgb) << r.x << "," << r.y;
    for (int y = 10; y <= 265; ++y) {
        EXPECT_EQ((s.Point(180, y) >> 16) & 0xFF, 255 - (y - 10)) << y;
        EXPECT_EQ(s.Point(180, y) & 0xFF, 0) << "ramp value -3 stays 0 at row " << y;
        EXPECT_EQ(s.Point(10, y) & 0xFF00, 0) << y;
    }
}

TEST_F(SatBrightTest, BrightnessFieldEveryPixelEvenAfterTheHueStrip)
{
    DrawHueStrip(s, p); // leaves the header 15 wide
    const Picture base = Picture::Of(s);
    DrawPicker(s, p.FieldX, p.FieldY);
    DrawBrightField(s, p);
    EXPECT_EQ(p.DibHeader.biWidth, 256);
    EXPECT_EQ(p.DibHeader.biHeight, 256);
    EXPECT_TRUE(FieldIs(base, BrightFieldPixel));

    DrawPicker(s, p.FieldX, p.FieldY);
    const struct {
        int x, y;
        int32_t rgb;
    } table[] = {{265, 10, Rgb(255, 0, 0)},     {265, 138, Rgb(255, 128, 128)}, {223, 138, Rgb(255, 128, 254)},
                 {222, 138, Rgb(252, 128, 255)}, {180, 138, Rgb(127, 128, 255)}, {179, 138, Rgb(128, 128, 255)},
                 {136, 138, Rgb(128, 255, 252)}, {10, 138, Rgb(255, 127, 128)},  {180, 10, Rgb(0, 0, 255)},
                 {180, 11, Rgb(0, 1, 255)},      {180, 12, Rgb(0, 2, 255)},      {180, 13, Rgb(0, 3, 255)},
                 {180, 14, Rgb(1, 4, 255)},      {10, 12, Rgb(255, 0, 2)},       {10, 14, Rgb(255, 1, 4)},
                 {77, 265, Rgb(255, 255, 255)}};
    for (const auto& r : table)
        EXPECT_EQ(s.Point(r.x, r.y), r.rgb) << r.x << "," << r.y;

    // The top row is the saturation field's.
    platform::Surface sat = NewSurface();
    PickerState q = p;
    q.FieldX = 100;
    q.FieldY = 200;
    DrawSatField(sat, q);
    for (int x = 10; x <= 265; ++x)
        EXPECT_EQ(sat.Point(x, 10), s.Point(x, 10)) << x;
}

TEST_F(SatBrightTest, FieldsKeepOneRingAndRenderTheSameTwice)
{
    for (auto render : {&DrawSatField, &DrawBrightField}) {
        p.FieldX = 137;
        p.FieldY = 200;
        DrawPicker(s, p.FieldX, p.FieldY);
        render(s, p);
        const Picture once = Picture::Of(s);
        render(s, p);
        EXPECT_TRUE(SameImage(s, once));
        // One toggle removes the ring: the field is bare at its pixels.
        DrawPicker(s, p.FieldX, p.FieldY);
        for (const expected::Offset& o : expected::RingOffsets()) {
            const int x = p.FieldX + o.dx, y = p.FieldY + o.dy;
            const int32_t bare = render == &DrawSatField ? SatFieldPixel(x, y) : BrightFieldPixel(x, y);
            EXPECT_EQ(s.Point(x, y), bare) << x << "," << y;
        }
        EXPECT_EQ(s.DrawMode, 6);
    }
}

TEST_F(SatBrightTest, StripsForEveryChannelValueAndLine)
{
    const Picture before = Picture::Of(s);
    for (int c = 0; c <= 255; ++c) {
        const int16_t red = int16_t(c), green = int16_t(255 - c), blue = int16_t((c * 7 + 3) % 256);
        for (bool sat : {true, false}) {
            if (sat)
                DrawSatStrip(s, p.Geometry, red, green, blue);
            else
                DrawBrightStrip(s, p.Geometry, red, green, blue);
            auto line = sat ? SatStripLine : BrightStripLine;
            for (int i = 0; i <= 255; ++i) {
                const int32_t want = line(Rgb(red, green, blue), i);
                for (int x = 277; x <= 291; ++x)
                    ASSERT_EQ(s.Point(x, 10 + i), want) << (sat ? "saturation" : "brightness") << " c " << c
                                                        << " line " << i << " x " << x;
            }
            ASSERT_EQ(s.ForeColor, sat ? 0xFFFFFF : 0) << "the last line's colour stays the pen";
            ASSERT_EQ(s.DrawMode, 13);
        }
    }
    // Frame column 292 is the frame's, the gap row 266 and the marks'
    // columns are untouched.
    for (int y = 10; y <= 265; ++y) {
        EXPECT_EQ(s.Point(292, y), PaletteColors().Light) << y;
        for (int x : {272, 273, 274, 275, 294, 295, 296, 297})
            EXPECT_EQ(s.Point(x, y), before.At(x, y));
    }
    for (int x = 277; x <= 291; ++x)
        EXPECT_EQ(s.Point(x, 266), before.At(x, 266));

    // The worked examples.
    DrawSatStrip(s, p.Geometry, 128, 0, 0);
    EXPECT_EQ(s.Point(280, 10), Rgb(128, 0, 0));
    EXPECT_EQ(s.Point(280, 74), Rgb(160, 64, 64));
    EXPECT_EQ(s.Point(280, 138), Rgb(192, 128, 128));
    EXPECT_EQ(s.Point(280, 265), Rgb(255, 255, 255));
    DrawBrightStrip(s, p.Geometry, 255, 128, 0);
    EXPECT_EQ(s.Point(280, 11), Rgb(254, 127, 0));
    EXPECT_EQ(s.Point(280, 137), Rgb(128, 64, 0));
    EXPECT_EQ(s.Point(280, 264), Rgb(1, 1, 0));
    DrawBrightStrip(s, p.Geometry, 128, 64, 32);
    EXPECT_EQ(s.Point(280, 12), Rgb(127, 63, 32));
    EXPECT_EQ(s.Point(280, 138), Rgb(64, 32, 16));
}

TEST_F(SatBrightTest, StripsHoldChannelsOutsideAByteToTheByte)
{
    for (auto draw : {&DrawSatStrip, &DrawBrightStrip}) {
        draw(s, p.Geometry, -1, 300, int16_t(-32768));
        for (int y = 10; y <= 265; ++y) {
            const int32_t c = s.Point(280, y);
            ASSERT_GE(c, 0);
            ASSERT_LE(c, 0xFFFFFF);
        }
    }
}

} // namespace
} // namespace picker::testing
