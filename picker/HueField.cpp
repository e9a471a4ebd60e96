#include "picker/HueField.h"

#include <cmath>
#include <memory>

#include "color/NumberRules.h"
#include "picker/Frames.h"
#include "picker/HueFieldFill.h"
#include "picker/Markers.h"
#include "platform/Dib.h"

namespace picker {

uint8_t HueFieldChannel(int C, int i, int k)
{
    // One rounded double operation at a time, in the renderer's order.
    const double step = C / 255.0;
    const double y = k;
    const double base = C - y * step;
    const double top = 255.0 - k;
    const double increment = (top - base) / 255.0;
    const double x = 255.0 - i;
    const double value = color::RoundHalfEven(x * increment + base);
    // A value that does not fit a byte is not stored; the buffer keeps the
    // zero it started with.
    if (!(value >= 0.0 && value <= 255.0)) {
        return 0;
    }
    return static_cast<uint8_t>(value);
}

namespace {

// Reused between calls: only its allocation is kept, every byte is
// rewritten each time.
uint8_t* FieldScratch()
{
    thread_local std::unique_ptr<uint8_t[]> bits(new uint8_t[FieldBitsBytes]);
    return bits.get();
}

} // namespace

void DrawHueField(platform::Surface& s, PickerState& p, int16_t red, int16_t green,
                  int16_t blue)
{
    const color::PickerGeometry& g = p.Geometry;
    DrawPicker(s, p.FieldX, p.FieldY); // ring off, so the blit does not bury it

    s.DrawWidth = 1;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    p.DibHeader.biHeight = FieldSide;
    p.DibHeader.biWidth = FieldSide;

    uint8_t* bits = FieldScratch();
    FillHueField(bits, red, green, blue);
    // A refused blit leaves the field as it was, like any failed drawing.
    platform::BitBlt(s, g.FieldLeft, g.FieldTop, FieldSide, FieldSide, {&p.DibHeader, bits, FieldBitsBytes}, 0, 0);

    DrawSelFrame(s, g);
    DrawPicker(s, p.FieldX, p.FieldY); // ring on again
}

} // namespace picker
