#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "picker/HueField.h"
#include "picker/HueFieldFill.h"
#include "picker/Markers.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

// HueFieldChannel for every C, i, k: ref[C][k][i]. Built once; 16 MB.
const std::vector<uint8_t>& ReferenceBytes()
{
    static const std::vector<uint8_t> ref = [] {
        std::vector<uint8_t> r(256 * 256 * 256);
        for (int C = 0; C < 256; ++C)
            for (int k = 0; k < 256; ++k)
                for (int i = 0; i < 256; ++i)
                    r[(static_cast<size_t>(C) * 256 + k) * 256 + i] = HueFieldChannel(C, i, k);
        return r;
    }();
    return ref;
}

const uint8_t& Reference(int C, int i, int k)
{
    return ReferenceBytes()[(static_cast<size_t>(C) * 256 + k) * 256 + i];
}

// Colours whose channels each run through 0..255 as C does, all different,
// so a channel swapped or misplaced in a pixel shows.
std::array<int16_t, 3> SweepColor(int C)
{
    return {static_cast<int16_t>(C), static_cast<int16_t>(255 - C), static_cast<int16_t>((7 * C + 100) & 0xFF)};
}

TEST(HueFieldChannel, DoubleArithmeticEqualsExactNearestForEveryInput)
{
    long bad = 0;
    for (int C = 0; C < 256; ++C)
        for (int k = 0; k < 256; ++k)
            for (int i = 0; i < 256; ++i)
                bad += Reference(C, i, k) != expected::HueFieldChannel(C, i, k);
    EXPECT_EQ(bad, 0);
}

// Every way of filling, byte for byte against the double arithmetic, for
// every C, i and k in each of the three byte positions of a pixel.
TEST(FillHueField, EveryMethodEqualsTheDoubleArithmeticEverywhere)
{
    using Fill = std::function<void(uint8_t*, int16_t, int16_t, int16_t)>;
    std::vector<std::pair<std::string, Fill>> fills = {{"FillHueField", FillHueField}};
    const std::pair<const char*, FieldFill> methods[] = {
        {"portable", FieldFill::Portable}, {"sse2", FieldFill::Sse2}, {"avx2", FieldFill::Avx2}};
    for (const auto& m : methods) {
        const FieldFill method = m.second;
        if (FieldFillAvailable(method))
            fills.emplace_back(m.first, [method](uint8_t* bits, int16_t r, int16_t g, int16_t b) {
                FillHueFieldWith(method, bits, r, g, b);
            });
    }

    auto bits = std::make_unique<uint8_t[]>(FieldBitsBytes);
    for (const auto& [name, fill] : fills) {
        long bad = 0;
        for (int C = 0; C < 256; ++C) {
            const auto [red, green, blue] = SweepColor(C);
            std::memset(bits.get(), 0xA5, FieldBitsBytes);
            fill(bits.get(), red, green, blue);
            for (int row = 0; row < 256; ++row) {
                const uint8_t* got = bits.get() + row * FieldRowBytes;
                const int k = 255 - row; // bottom-up
                const uint8_t* want[3] = {&Reference(blue, 0, k), &Reference(green, 0, k), &Reference(red, 0, k)};
                for (int i = 0; i < 256; ++i)
                    for (int c = 0; c < 3; ++c)
                        bad += got[3 * i + c] != want[c][i];
            }
        }
        EXPECT_EQ(bad, 0) << name;
    }
}

TEST(FillHueField, OutOfRangeChannelsLeaveUnfitBytesZeroAndTheOthersExact)
{
    auto bits = std::make_unique<uint8_t[]>(FieldBitsBytes);
    const std::array<int16_t, 3> colors[] = {{300, -5, 128}, {-32768, 32767, 0}, {255, 256, -1}};
    for (const auto& [red, green, blue] : colors) {
        std::memset(bits.get(), 0xA5, FieldBitsBytes);
        FillHueField(bits.get(), red, green, blue);
        const int channel[3] = {blue, green, red};
        long bad = 0;
        for (int row = 0; row < 256; ++row)
            for (int i = 0; i < 256; ++i)
                for (int c = 0; c < 3; ++c) {
                    const int exact = expected::HueFieldChannel(channel[c], i, 255 - row);
                    const int want = exact >= 0 && exact <= 255 ? exact : 0;
                    bad += bits[row * FieldRowBytes + 3 * i + c] != want;
                }
        EXPECT_EQ(bad, 0) << red << ", " << green << ", " << blue;
    }
}

// What DrawHueField must leave: the background as it was, the field in
// closed form, the field frame, and the ring inverted over all of it.
Picture ExpectedAfterField(const Picture& before, const PickerState& p, int32_t hue)
{
    Picture want = before;
    expected::PaintField(want, [hue](int x, int y) { return expected::HueFieldPixel(hue, x, y); });
    expected::PaintSunkenInner(want, expected::FieldFrame, PaletteColors().DarkShadow, PaletteColors().Light);
    expected::InvertRing(want, p.FieldX, p.FieldY);
    return want;
}

TEST(DrawHueField, EveryPixelForEveryChannelValueWithTheRingKept)
{
    const Picture background = PatternPicture(ClientWidth, ClientHeight);
    platform::Surface s = NewSurface(background);
    for (int C = 0; C < 256; ++C) {
        background.PaintOnto(s);
        PickerState p = StartState();
        // The ring wanders over the whole field, corners included.
        p.FieldX = p.Geometry.FieldLeft + (C * 37) % 256;
        p.FieldY = p.Geometry.FieldTop + (C % 4 == 0 ? 0 : C % 4 == 1 ? 255 : (C * 11) % 256);
        p.DibHeader.biWidth = 15; // as a strip rendering leaves it
        DrawPicker(s, p.FieldX, p.FieldY);
        const auto [red, green, blue] = SweepColor(C);

        int refreshes = 0;
        s.SetRefreshHandler([&] { ++refreshes; });
        DrawHueField(s, p, red, green, blue);
        s.SetRefreshHandler(nullptr);

        const int32_t hue = Rgb(red, green, blue);
        ASSERT_TRUE(SameImage(s, ExpectedAfterField(background, p, hue))) << "C " << C;
        EXPECT_EQ(s.Point(p.FieldX, p.FieldY), expected::HueFieldPixel(hue, p.FieldX, p.FieldY));
        EXPECT_EQ(refreshes, 1);
        EXPECT_EQ(p.DibHeader.biWidth, 256);
        EXPECT_EQ(p.DibHeader.biHeight, 256);
        EXPECT_EQ(s.DrawMode, platform::DRAWMODE_INVERT);
        EXPECT_EQ(s.DrawWidth, 1);
    }
}

TEST(DrawHueField, TwiceIsTheSameAsOnce)
{
    platform::Surface s = NewSurface();
    PickerState p = StartState();
    p.FieldX = 12;
    p.FieldY = 263;
    DrawPicker(s, p.FieldX, p.FieldY);
    const int16_t red = 255, green = 0, blue = 252;
    DrawHueField(s, p, red, green, blue);
    const Picture once = Picture::Of(s);
    DrawHueField(s, p, red, green, blue);
    EXPECT_TRUE(SameImage(s, once));
}

TEST(DrawHueField, ReferencePoints)
{
    struct Point {
        int x, y;
        int32_t color;
    };
    const Point red[] = {
        {10, 10, Rgb(255, 255, 255)}, {265, 10, Rgb(255, 0, 0)},  {138, 10, Rgb(255, 127, 127)},
        {265, 138, Rgb(127, 0, 0)},   {110, 60, Rgb(205, 125, 125)}, {210, 210, Rgb(55, 12, 12)},
        {10, 265, Rgb(0, 0, 0)},      {265, 265, Rgb(0, 0, 0)},
    };
    const Point magenta[] = {
        {265, 10, Rgb(255, 0, 252)},
        {138, 10, Rgb(255, 127, 253)},
        {265, 138, Rgb(127, 0, 126)},
        {110, 60, Rgb(205, 125, 204)},
    };
    platform::Surface s = NewSurface();
    PickerState p = StartState(); // ring at (265, 10), clear of every point
    DrawPicker(s, p.FieldX, p.FieldY);
    DrawHueField(s, p, 255, 0, 0);
    for (const Point& q : red)
        EXPECT_EQ(s.Point(q.x, q.y), q.color) << q.x << ", " << q.y;
    DrawHueField(s, p, 255, 0, 252);
    for (const Point& q : magenta)
        EXPECT_EQ(s.Point(q.x, q.y), q.color) << q.x << ", " << q.y;
}

} // namespace
} // namespace picker
