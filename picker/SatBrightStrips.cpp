// The strips of saturation and brightness modes: a ramp of one colour, one
// row each, redrawn on every pick in those modes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "color/ColorValue.h"
#include "color/NumberRules.h"
#include "picker/Frames.h"
#include "picker/SatBright.h"

namespace picker {

namespace {

// Channels of a colour read from the window are 0..255; anything else is
// held to that range so the packed value is always a colour.
int Byte(double v)
{
    return static_cast<int>(std::clamp(v, 0.0, 255.0));
}

using Ramps = std::array<std::array<uint8_t, 256>, 256>;

// Every channel value's ramp, row by row, worked out on first use: the
// arithmetic of three channels on 256 rows costs a strip step more than
// writing its pixels.
template <class Channel>
const Ramps& RampsOf(Channel channel)
{
    static const std::unique_ptr<Ramps> ramps = [&] {
        auto r = std::make_unique<Ramps>();
        for (int c = 0; c <= 255; ++c)
            for (int i = 0; i <= 255; ++i)
                (*r)[c][i] = static_cast<uint8_t>(Byte(channel(c, i)));
        return r;
    }();
    return *ramps;
}

bool IsByte(int16_t v)
{
    return v >= 0 && v <= 255;
}

template <class Channel>
void DrawRamp(platform::Surface& s, const color::PickerGeometry& g, int16_t red, int16_t green,
              int16_t blue, Channel channel)
{
    // Each row is a one-pixel line across the strip, end excluded; the rows
    // are written at once and the pen is left as the last line leaves it.
    std::array<int32_t, 256> rows;
    if (IsByte(red) && IsByte(green) && IsByte(blue)) {
        const Ramps& ramps = RampsOf(channel);
        for (int i = 0; i <= 255; ++i)
            rows[i] = color::RGB(ramps[red][i], ramps[green][i], ramps[blue][i]);
    } else {
        for (int i = 0; i <= 255; ++i)
            rows[i] = color::RGB(Byte(channel(red, i)), Byte(channel(green, i)), Byte(channel(blue, i)));
    }
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.DrawWidth = 1;
    s.ForeColor = rows.back();
    s.RowSpans(g.StripLeft, g.StripRight, g.StripTop, rows.data(), static_cast<int>(rows.size()));
    s.MoveToEx(g.StripRight, g.StripTop + 255);
    DrawMainFrame(s, g);
}

} // namespace

void DrawSatStrip(platform::Surface& s, const color::PickerGeometry& g, int16_t red,
                  int16_t green, int16_t blue)
{
    // Line i is c(1 - i/255) + i: the colour at the top, white at the bottom.
    DrawRamp(s, g, red, green, blue, [](int c, int i) {
        double v = i / 255.0;
        v = 1.0 - v;
        v = c * v;
        return color::RoundHalfEven(v + i);
    });
}

void DrawBrightStrip(platform::Surface& s, const color::PickerGeometry& g, int16_t red,
                     int16_t green, int16_t blue)
{
    // Line i is c - ic/255: the colour at the top, black at the bottom.
    DrawRamp(s, g, red, green, blue, [](int c, int i) {
        double v = static_cast<double>(i) * c;
        v = v / 255.0;
        return color::RoundHalfEven(c - v);
    });
}

} // namespace picker
