// The fields of saturation and brightness modes: all hues across, and
// brightness (saturation mode) or saturation (brightness mode) down.
#include <array>
#include <memory>

#include "picker/BrightField.h"
#include "picker/Frames.h"
#include "picker/HueFieldFill.h"
#include "picker/HueSegments.h"
#include "picker/Markers.h"
#include "picker/SatField.h"
#include "platform/Dib.h"

namespace picker {

namespace {

enum class FieldKind { Saturation, Brightness };

uint8_t* Scratch()
{
    // Only the allocation is kept between calls; every byte is rewritten.
    thread_local std::unique_ptr<uint8_t[]> bits(new uint8_t[FieldBitsBytes]);
    return bits.get();
}

// Buffer row r holds t = 255 - r. Pixel bytes are blue, green, red, so the
// slot of channel c (0 red .. 2 blue) is at byte 2 - c.
void Fill(uint8_t* bits, FieldKind kind)
{
    std::array<HueColumn, FieldSide> columns;
    for (int e = 0; e < FieldSide; ++e)
        columns[e] = HueColumnAt(e);
    for (int t = 255; t >= 0; --t) {
        uint8_t* row = bits + static_cast<size_t>(255 - t) * FieldRowBytes;
        const double k = 1.0 - t / 255.0;
        const uint8_t full = kind == FieldKind::Saturation ? uint8_t(255 - t) : uint8_t(255);
        const uint8_t low = kind == FieldKind::Saturation ? uint8_t(0) : uint8_t(t);
        for (int e = 0; e < FieldSide; ++e) {
            const HueColumn& c = columns[e];
            double x = c.v * k;
            if (kind == FieldKind::Brightness)
                x = x + t;
            x = NearestEven(x);
            uint8_t* pixel = row + 3 * e;
            pixel[2 - c.fullSlot] = full;
            pixel[2 - c.otherSlot] = low;
            // A ramp value outside a byte is not written: the byte keeps 0.
            pixel[2 - c.rampSlot] = (x >= 0 && x <= 255) ? static_cast<uint8_t>(x) : 0;
        }
    }
}

void DrawField(platform::Surface& s, PickerState& p, FieldKind kind)
{
    const color::PickerGeometry& g = p.Geometry;
    DrawPicker(s, p.FieldX, p.FieldY); // ring off
    s.DrawWidth = 1;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    if (kind == FieldKind::Brightness) {
        p.DibHeader.biHeight = FieldSide;
        p.DibHeader.biWidth = FieldSide;
    }
    uint8_t* bits = Scratch();
    Fill(bits, kind);
    // Mirrored left to right: buffer column e lands at FieldRight - e. A
    // refused blit leaves the field as it was.
    platform::StretchBlt(s, g.FieldRight, g.FieldTop, -FieldSide, FieldSide, {&p.DibHeader, bits, FieldBitsBytes},
                         0, 0, FieldSide, FieldSide);
    DrawSelFrame(s, g);
    DrawPicker(s, p.FieldX, p.FieldY); // ring on
}

} // namespace

void DrawSatField(platform::Surface& s, PickerState& p)
{
    DrawField(s, p, FieldKind::Saturation);
}

void DrawBrightField(platform::Surface& s, PickerState& p)
{
    DrawField(s, p, FieldKind::Brightness);
}

} // namespace picker
