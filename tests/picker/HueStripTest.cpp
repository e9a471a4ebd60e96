#include <vector>

#include "picker/HueStrip.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

// All 16 pixels of every buffer row, the one in the padding included, in
// blue, green, red order.
TEST(FillHueStrip, EveryByteOfTheBitmap)
{
    std::vector<uint8_t> bits(StripBitsBytes + 1, 0xA5);
    FillHueStrip(bits.data(), 255);
    long bad = 0;
    for (int i = 0; i < 256; ++i) {
        const int32_t c = expected::HueStripRow(i);
        for (int x = 0; x < 16; ++x) {
            const uint8_t* px = &bits[i * StripRowBytes + 3 * x];
            bad += px[0] != (c >> 16 & 0xFF) || px[1] != (c >> 8 & 0xFF) || px[2] != (c & 0xFF);
        }
    }
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(bits[StripBitsBytes], 0xA5); // nothing past the end
}

TEST(DrawHueStrip, EveryPixelOfTheStripAndNothingElseButItsFrame)
{
    const platform::SystemColors c = PaletteColors();
    const Picture background = PatternPicture(ClientWidth, ClientHeight);
    platform::Surface s = NewSurface(background);
    PickerState p = StartState();
    p.DibHeader.biWidth = 256; // as a field rendering leaves it
    p.DibHeader.biHeight = 256;
    s.DrawMode = platform::DRAWMODE_INVERT;
    s.DrawWidth = 2;

    int refreshes = 0;
    s.SetRefreshHandler([&] { ++refreshes; });
    DrawHueStrip(s, p);

    Picture want = background;
    expected::PaintStrip(want, expected::HueStripRow);
    expected::PaintSunkenInner(want, expected::StripFrame, c.DarkShadow, c.Light);
    EXPECT_TRUE(SameImage(s, want));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(p.DibHeader.biWidth, 15);
    EXPECT_EQ(p.DibHeader.biHeight, 256);
    EXPECT_EQ(s.DrawMode, platform::DRAWMODE_COPYPEN);
    EXPECT_EQ(s.DrawWidth, 1);

    // Column 292 is the frame's, row 266 the gap above its bottom line.
    for (int y = 9; y <= 267; ++y)
        EXPECT_EQ(s.Point(292, y), c.Light);
    for (int x = 277; x <= 291; ++x)
        EXPECT_EQ(s.Point(x, 266), Pattern(x, 266));

    s.SetRefreshHandler(nullptr);
    DrawHueStrip(s, p);
    EXPECT_TRUE(SameImage(s, want));
}

TEST(DrawHueStrip, ReferenceRows)
{
    const std::pair<int, int32_t> rows[] = {
        {10, Rgb(255, 0, 0)},    {11, Rgb(255, 0, 6)},    {52, Rgb(255, 0, 252)},  {53, Rgb(252, 0, 255)},
        {94, Rgb(6, 0, 255)},    {95, Rgb(0, 0, 255)},    {96, Rgb(0, 6, 255)},    {137, Rgb(0, 252, 255)},
        {138, Rgb(0, 255, 252)}, {180, Rgb(0, 255, 0)},   {181, Rgb(6, 255, 0)},   {222, Rgb(252, 255, 0)},
        {223, Rgb(255, 252, 0)}, {264, Rgb(255, 6, 0)},   {265, Rgb(255, 0, 0)},
    };
    platform::Surface s = NewSurface();
    PickerState p = StartState();
    DrawHueStrip(s, p);
    for (const auto& [y, color] : rows)
        for (int x = 277; x <= 291; ++x)
            EXPECT_EQ(s.Point(x, y), color) << x << ", " << y;
}

} // namespace
} // namespace picker
