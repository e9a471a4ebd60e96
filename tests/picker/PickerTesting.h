#pragma once
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include <QFont>
#include <gtest/gtest.h>

#include "color/PickerGeometry.h"
#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker::testing {

constexpr int ClientWidth = 434;
constexpr int ClientHeight = 275;

// Arbitrary, all different, so a pixel in the wrong one of them shows.
inline platform::SystemColors TestColors()
{
    platform::SystemColors c;
    c.Face = 0xC8D0D4;
    c.DarkShadow = 0x291B0D;
    c.Shadow = 0x7A7978;
    c.Light = 0xC7E7E6;
    c.Highlight = 0xF8F9FA;
    return c;
}

inline int32_t Rgb(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

inline int32_t Inverted(int32_t value)
{
    return value ^ 0xFFFFFF;
}

// A different colour at every pixel, so any write shows.
inline int32_t Pattern(int x, int y)
{
    return Rgb((x * 97 + y * 57 + 11) & 0xFF, (x * 13 + y * 211 + 5) & 0xFF, (x * y + 3 * x + 71) & 0xFF);
}

// What a surface is expected to hold, as colour values.
struct Picture {
    int width = ClientWidth;
    int height = ClientHeight;
    std::vector<int32_t> px = std::vector<int32_t>(static_cast<size_t>(width) * height, TestColors().Face);
    int32_t& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    int32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

inline Picture PatternPicture()
{
    Picture p;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.at(x, y) = Pattern(x, y);
    return p;
}

inline void PaintSurface(platform::Surface& s, const Picture& p)
{
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            s.ScanLine(y)[x] = platform::ToQRgb(p.at(x, y));
}

inline Picture Snapshot(const platform::Surface& s)
{
    Picture p;
    p.width = s.Width();
    p.height = s.Height();
    p.px.assign(static_cast<size_t>(p.width) * p.height, 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.at(x, y) = platform::FromQRgb(s.ScanLine(y)[x]);
    return p;
}

// Every pixel of columns x0..x1, rows y0..y1 (clipped to both) must agree;
// the first disagreement is reported with the number of them.
inline ::testing::AssertionResult SameRegion(const platform::Surface& s, const Picture& want, int x0, int y0,
                                             int x1, int y1)
{
    x1 = std::min({x1, s.Width() - 1, want.width - 1});
    y1 = std::min({y1, s.Height() - 1, want.height - 1});
    long bad = 0;
    std::string first;
    for (int y = y0; y <= y1; ++y) {
        const uint32_t* line = s.ScanLine(y);
        for (int x = x0; x <= x1; ++x) {
            const int32_t got = platform::FromQRgb(line[x]);
            if (got != want.at(x, y) && bad++ == 0) {
                char buf[128];
                std::snprintf(buf, sizeof buf, "(%d, %d) is %06X, expected %06X", x, y, static_cast<unsigned>(got),
                              static_cast<unsigned>(want.at(x, y)));
                first = buf;
            }
        }
    }
    if (bad == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ; first " << first;
}

inline ::testing::AssertionResult SameImage(const platform::Surface& s, const Picture& want)
{
    if (s.Width() != want.width || s.Height() != want.height)
        return ::testing::AssertionFailure() << "size differs";
    return SameRegion(s, want, 0, 0, want.width - 1, want.height - 1);
}

// The field in closed form: nearest((255 - k) * (65025 - i * (255 - C)) /
// 65025) in whole numbers, which never meets a half (65025 is odd).
inline int FieldChannel(int C, int i, int k)
{
    const long long n = static_cast<long long>(255 - k) * (65025 - static_cast<long long>(i) * (255 - C));
    const long long twice = 2 * n + 65025;
    const long long q = twice >= 0 ? twice / 130050 : -((-twice + 130049) / 130050); // floor
    return static_cast<int>(q);
}

inline int32_t FieldColor(int red, int green, int blue, int i, int k)
{
    return Rgb(FieldChannel(red, i, k), FieldChannel(green, i, k), FieldChannel(blue, i, k));
}

// The strip's six ramps in closed form, row i from the top.
inline int32_t StripColor(int i)
{
    if (i <= 42)
        return Rgb(255, 0, 6 * i);
    if (i <= 85)
        return Rgb(510 - 6 * i, 0, 255);
    if (i <= 127)
        return Rgb(0, 6 * i - 510, 255);
    if (i <= 170)
        return Rgb(0, 255, 1020 - 6 * i);
    if (i <= 212)
        return Rgb(6 * i - 1020, 255, 0);
    return Rgb(255, 1530 - 6 * i, 0);
}

// A sunken inner edge along the inside of the rectangle (right and bottom
// exclusive): left and top dark, right and bottom light, the light lines
// owning the corners they share.
inline void PaintFrame(Picture& p, const platform::RECT& r, int32_t dark, int32_t light)
{
    for (int y = r.top; y < r.bottom; ++y)
        p.at(r.left, y) = dark;
    for (int x = r.left; x < r.right; ++x)
        p.at(x, r.top) = dark;
    for (int y = r.top; y < r.bottom; ++y)
        p.at(r.right - 1, y) = light;
    for (int x = r.left; x < r.right; ++x)
        p.at(x, r.bottom - 1) = light;
}

struct Offset {
    int dx = 0;
    int dy = 0;
};

// The ring's pixels relative to its centre, as the surface rasterises a
// circle of radius 5: found by inverting one on a blank surface and checked
// to be an outline of that radius.
inline const std::vector<Offset>& RingOffsets()
{
    static const std::vector<Offset> offsets = [] {
        platform::Surface probe(41, 41, TestColors(), QFont());
        probe.DrawMode = platform::DRAWMODE_INVERT;
        probe.Circle(20, 20, 5);
        std::vector<Offset> out;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x)
                if (probe.Point(x, y) != TestColors().Face)
                    out.push_back({x - 20, y - 20});
        return out;
    }();
    return offsets;
}

inline void InvertRing(Picture& p, int cx, int cy)
{
    for (const Offset& o : RingOffsets())
        p.at(cx + o.dx, cy + o.dy) = Inverted(p.at(cx + o.dx, cy + o.dy));
}

inline PickerState StartState()
{
    PickerState p;
    p.Geometry = color::MakePickerGeometry();
    InitDibHeader(p.DibHeader);
    p.FieldX = p.Geometry.FieldRight;
    p.FieldY = p.Geometry.FieldTop;
    p.StripY = static_cast<float>(p.Geometry.StripBottom);
    return p;
}

} // namespace picker::testing
