#include "tests/support/Picker.h"

#include <cmath>
#include <cstdlib>

namespace expected {

namespace {

// Nearest integer to n / d for d > 0 and a quotient that is never a half.
int64_t Nearest(int64_t n, int64_t d)
{
    const int64_t twice = 2 * n + d;
    return twice >= 0 ? twice / (2 * d) : -((-twice + 2 * d - 1) / (2 * d));
}

int Red(int32_t c) { return c & 0xFF; }
int Green(int32_t c) { return (c >> 8) & 0xFF; }
int Blue(int32_t c) { return (c >> 16) & 0xFF; }

// Across the saturation and brightness fields, buffer column e = 265 - x:
// one channel ramps with value v, one is at the row's full value and one
// at its low value (slots 0 red, 1 green, 2 blue).
struct HueColumn {
    int v;
    int ramp, full, low;
};

HueColumn HueColumnAt(int e)
{
    if (e <= 42) return {6 * e, 2, 0, 1};
    if (e <= 85) return {507 - 6 * e, 0, 2, 1};
    if (e <= 128) return {6 * (e - 86), 1, 2, 0};
    if (e <= 170) return {1023 - 6 * e, 2, 1, 0};
    if (e <= 212) return {6 * (e - 171), 0, 1, 2};
    return {1527 - 6 * e, 1, 0, 2};
}

// A ramp value that does not fit a byte is never written; the byte stays 0.
int Written(int64_t value)
{
    return value >= 0 && value <= 255 ? int(value) : 0;
}

int32_t Pack(const int (&rgb)[3])
{
    return Rgb(rgb[0], rgb[1], rgb[2]);
}

} // namespace

int HueFieldChannel(int C, int i, int k)
{
    return int(Nearest(int64_t(255 - k) * (65025 - int64_t(i) * (255 - C)), 65025));
}

int32_t HueFieldPixel(int32_t hue, int x, int y)
{
    const int i = x - FieldLeft, k = y - FieldTop;
    return Rgb(HueFieldChannel(Red(hue), i, k), HueFieldChannel(Green(hue), i, k), HueFieldChannel(Blue(hue), i, k));
}

int32_t HueStripRow(int i)
{
    if (i <= 42) return Rgb(255, 0, 6 * i);
    if (i <= 85) return Rgb(510 - 6 * i, 0, 255);
    if (i <= 127) return Rgb(0, 6 * i - 510, 255);
    if (i <= 170) return Rgb(0, 255, 1020 - 6 * i);
    if (i <= 212) return Rgb(6 * i - 1020, 255, 0);
    return Rgb(255, 1530 - 6 * i, 0);
}

// Largest channel 255 - t, smallest 0, the ramp v(255 - t)/255.
int32_t SatFieldPixel(int x, int y)
{
    const int t = y - FieldTop;
    const HueColumn c = HueColumnAt(FieldRight - x);
    int rgb[3];
    rgb[c.full] = 255 - t;
    rgb[c.low] = 0;
    rgb[c.ramp] = Written(Nearest(int64_t(c.v) * (255 - t), 255));
    return Pack(rgb);
}

// Largest channel 255, smallest t, the ramp t + v(255 - t)/255.
int32_t BrightFieldPixel(int x, int y)
{
    const int t = y - FieldTop;
    const HueColumn c = HueColumnAt(FieldRight - x);
    int rgb[3];
    rgb[c.full] = 255;
    rgb[c.low] = t;
    rgb[c.ramp] = Written(Nearest(int64_t(255) * t + int64_t(c.v) * (255 - t), 255));
    return Pack(rgb);
}

int32_t SatStripLine(int32_t base, int i)
{
    auto ch = [i](int c) { return int(Nearest(int64_t(255) * c + int64_t(i) * (255 - c), 255)); };
    return Rgb(ch(Red(base)), ch(Green(base)), ch(Blue(base)));
}

int32_t BrightStripLine(int32_t base, int i)
{
    auto ch = [i](int c) { return int(Nearest(int64_t(c) * (255 - i), 255)); };
    return Rgb(ch(Red(base)), ch(Green(base)), ch(Blue(base)));
}

int32_t FieldPixel(Mode m, int x, int y, int32_t hue)
{
    switch (m) {
    case Mode::Hue:
        return HueFieldPixel(hue, x, y);
    case Mode::Saturation:
        return SatFieldPixel(x, y);
    case Mode::Brightness:
        break;
    }
    return BrightFieldPixel(x, y);
}

int32_t StripLine(Mode m, int32_t base, int i)
{
    switch (m) {
    case Mode::Hue:
        return HueStripRow(i);
    case Mode::Saturation:
        return SatStripLine(base, i);
    case Mode::Brightness:
        break;
    }
    return BrightStripLine(base, i);
}

void PaintSunkenInner(Picture& p, const Box& b, int32_t dark, int32_t light)
{
    for (int y = b.top; y < b.bottom; ++y)
        p.Set(b.left, y, dark);
    for (int x = b.left; x < b.right; ++x)
        p.Set(x, b.top, dark);
    for (int y = b.top; y < b.bottom; ++y)
        p.Set(b.right - 1, y, light);
    for (int x = b.left; x < b.right; ++x)
        p.Set(x, b.bottom - 1, light);
}

void PaintSunkenEdge(Picture& p, const Box& box, const platform::SystemColors& colors)
{
    PaintSunkenInner(p, box, colors.Shadow, colors.Highlight);
    PaintSunkenInner(p, box.Grown(-1), colors.DarkShadow, colors.Light);
}

void PaintPickerFrames(Picture& p, const platform::SystemColors& colors)
{
    PaintSunkenInner(p, FieldFrame, colors.DarkShadow, colors.Light);
    PaintSunkenInner(p, StripFrame, colors.DarkShadow, colors.Light);
}

bool OnCircle(long long r, long long dx, long long dy)
{
    // The octant's column for row y, -1 where the circle does not reach it.
    const auto column = [r](long long y) -> long long {
        if (y >= r)
            return -1;
        auto x = static_cast<long long>(std::sqrt(static_cast<long double>(r) * r - static_cast<long double>(y) * y));
        while (x > 0 && x * x - x + y * y >= r * r)
            --x;
        while ((x + 1) * (x + 1) - (x + 1) + y * y < r * r)
            ++x;
        return x;
    };
    const long long a = std::llabs(dx), b = std::llabs(dy);
    const auto inOctant = [&](long long along, long long across) {
        const long long x = column(along);
        return x >= along && across == x;
    };
    return inOctant(b, a) || inOctant(a, b);
}

const std::vector<Offset>& RingOffsets()
{
    static const std::vector<Offset> ring = [] {
        std::vector<Offset> out;
        for (int dy = -5; dy <= 5; ++dy)
            for (int dx = -5; dx <= 5; ++dx)
                if (OnCircle(5, dx, dy))
                    out.push_back({dx, dy});
        return out;
    }();
    return ring;
}

void InvertRing(Picture& p, int cx, int cy)
{
    for (const Offset& o : RingOffsets())
        p.Invert(cx + o.dx, cy + o.dy);
}

void InvertMarks(Picture& p, int row)
{
    for (int y : {row - 1, row})
        for (int x : {272, 273, 274, 275, 294, 295, 296, 297})
            p.Invert(x, y);
}

int MarkRowOf(float stripY)
{
    return static_cast<int>(std::nearbyint(stripY));
}

int32_t ColorUnderRing(const PickerScene& s)
{
    return FieldPixel(s.mode, s.ringX, s.ringY, s.hue);
}

int32_t StripColorAtMarks(const PickerScene& s)
{
    return StripLine(s.mode, ColorUnderRing(s), s.markRow - StripTop);
}

Picture PickerPicture(const PickerScene& s, const platform::SystemColors& colors)
{
    Picture p(ClientWidth, ClientHeight, colors.Face);
    PaintField(p, [&](int x, int y) { return FieldPixel(s.mode, x, y, s.hue); });
    const int32_t base = ColorUnderRing(s);
    PaintStrip(p, [&](int i) { return StripLine(s.mode, base, i); });
    PaintPickerFrames(p, colors);
    InvertMarks(p, s.markRow);
    InvertRing(p, s.ringX, s.ringY);
    return p;
}

} // namespace expected
