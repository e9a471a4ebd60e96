#include "PickerTesting.h"
#include "color/NumberRules.h"
#include "picker/HueSegments.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"

namespace picker::testing {
namespace {

// The fields by the straightforward arithmetic: for row t and buffer
// column e, the ramp channel is v(1 - t/255), plus t in the brightness
// field, in doubles, rounded to even, and left at 0 when it is no byte; the
// full and low channels are 255 - t and 0, or 255 and t.
int32_t ReferencePixel(bool saturation, int e, int t)
{
    const HueColumn c = HueColumnAt(e);
    const double k = 1.0 - t / 255.0;
    double x = c.v * k;
    if (!saturation)
        x = x + t;
    x = color::RoundHalfEven(x);
    int channels[3] = {};
    channels[c.fullSlot] = saturation ? 255 - t : 255;
    channels[c.otherSlot] = saturation ? 0 : t;
    channels[c.rampSlot] = x >= 0 && x <= 255 ? static_cast<int>(x) : 0;
    return Rgb(channels[0], channels[1], channels[2]);
}

// Every pixel of both fields, whichever way the processor lets them be
// computed, against the reference: buffer column e shows at client x
// 265 - e, row t at client y 10 + t. The ring is parked off the field.
TEST(SatBrightReference, FieldsMatchTheDoubleArithmeticEverywhere)
{
    for (const bool saturation : {true, false}) {
        platform::Surface s(ClientWidth, ClientHeight, TestColors(), QFont());
        PickerState p = StartState();
        p.DibHeader.biWidth = 256;
        p.DibHeader.biHeight = 256;
        p.FieldX = 380;
        p.FieldY = 200;
        DrawPicker(s, p.FieldX, p.FieldY);
        if (saturation)
            DrawSatField(s, p);
        else
            DrawBrightField(s, p);
        Picture want;
        for (int t = 0; t <= 255; ++t)
            for (int e = 0; e <= 255; ++e)
                want.at(265 - e, 10 + t) = ReferencePixel(saturation, e, t);
        EXPECT_TRUE(SameRegion(s, want, 10, 10, 265, 265)) << (saturation ? "saturation" : "brightness");
    }
}

} // namespace
} // namespace picker::testing
