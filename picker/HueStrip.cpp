#include "picker/HueStrip.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

#include "color/NumberRules.h"
#include "picker/Frames.h"
#include "platform/Dib.h"

namespace picker {
namespace {

static_assert(StripRowBytes == platform::DibStride(StripColumns));

// The six segment ends s, 2s, ..., 6s, each a single-precision multiple of
// s = span / 6; for the strip's span of 255 they are 42.5, 85, ..., 255.
struct Segments {
    std::array<float, 7> end{};
    std::array<int, 7> lastRow{}; // Int() of each end; lastRow[0] = -1
};

Segments MakeSegments(int32_t span)
{
    Segments sg;
    const float s = static_cast<float>(span / 6.0);
    sg.lastRow[0] = -1;
    for (int m = 1; m <= 6; ++m) {
        sg.end[m] = s * static_cast<float>(m);
        sg.lastRow[m] = static_cast<int>(std::floor(sg.end[m]));
    }
    return sg;
}

int Nearest(float v)
{
    return static_cast<int>(color::RoundHalfEven(v));
}

int32_t Rgb(int red, int green, int blue)
{
    // A value that does not fit a byte would not be stored: zero stays.
    const auto byte = [](int v) { return v >= 0 && v <= 255 ? v : 0; };
    return byte(red) | byte(green) << 8 | byte(blue) << 16;
}

// Colour value of row i of segment m (1..6): one channel ramps, the others
// are fixed.
template <int m>
int32_t SegmentColor(int i, const Segments& sg)
{
    const float fi = static_cast<float>(i);
    if constexpr (m == 1) {
        return Rgb(255, 0, 6 * i);
    } else if constexpr (m == 2) {
        return Rgb(Nearest(255.0f - 6.0f * (fi - sg.end[1])), 0, 255);
    } else if constexpr (m == 3) {
        return Rgb(0, Nearest(6.0f * (fi - sg.end[2])), 255);
    } else if constexpr (m == 4) {
        return Rgb(0, 255, Nearest(255.0f - 6.0f * (fi - sg.end[3])));
    } else if constexpr (m == 5) {
        return Rgb(Nearest(6.0f * (fi - sg.end[4])), 255, 0);
    } else {
        return Rgb(255, Nearest(255.0f - 6.0f * (fi - sg.end[5])), 0);
    }
}

// 16 pixels of one colour as six 8-byte words: the 3-byte pattern repeats
// every 24 bytes.
void FillRow(uint8_t* row, int32_t color)
{
    static_assert(std::endian::native == std::endian::little);
    const auto rgb = static_cast<uint32_t>(color);
    const uint64_t c = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF); // blue, green, red
    const uint64_t w0 = c | c << 24 | c << 48;
    const uint64_t w1 = c >> 16 | c << 8 | c << 32 | c << 56;
    const uint64_t w2 = c >> 8 | c << 16 | c << 40;
    // Stored straight to the row: staging them in an array and copying that
    // stalls on store forwarding.
    for (const uint64_t w : {w0, w1, w2, w0, w1, w2}) {
        std::memcpy(row, &w, sizeof w);
        row += sizeof w;
    }
}

} // namespace

void FillHueStrip(uint8_t* bits, int32_t span)
{
    const Segments sg = MakeSegments(span);
    int i = 0;
    const auto segment = [&](int m, auto color) {
        for (; i <= sg.lastRow[m] && i < StripRows; ++i) {
            FillRow(bits + static_cast<size_t>(i) * StripRowBytes, color(i, sg));
        }
    };
    segment(1, SegmentColor<1>);
    segment(2, SegmentColor<2>);
    segment(3, SegmentColor<3>);
    segment(4, SegmentColor<4>);
    segment(5, SegmentColor<5>);
    segment(6, SegmentColor<6>);
    // Rows no segment reaches keep the zero they would have started with.
    for (; i < StripRows; ++i) {
        FillRow(bits + static_cast<size_t>(i) * StripRowBytes, 0);
    }
}

void DrawHueStrip(platform::Surface& s, PickerState& p)
{
    const color::PickerGeometry& g = p.Geometry;
    p.DibHeader.biHeight = StripRows;
    p.DibHeader.biWidth = StripColumns;
    s.DrawWidth = 1;
    s.DrawMode = platform::DRAWMODE_COPYPEN;

    // The bitmap depends on the strip's span alone, which never changes
    // while the program runs: it is filled once and blitted on every draw.
    thread_local std::array<uint8_t, StripBitsBytes> bits;
    thread_local std::optional<int32_t> filledFor;
    const int32_t span = g.FieldBottom - g.FieldTop;
    if (filledFor != span) {
        FillHueStrip(bits.data(), span);
        filledFor = span;
    }

    // The negative height turns the bottom-up bitmap the right way up: buffer
    // row i lands on client row StripTop + i.
    platform::StretchBlt(s, g.StripLeft, g.StripBottom, StripColumns, -StripRows,
                         {&p.DibHeader, bits.data(), StripBitsBytes}, 0, 0, StripColumns, StripRows);
    DrawMainFrame(s, g);
}

} // namespace picker
