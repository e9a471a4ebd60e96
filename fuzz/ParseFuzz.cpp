// Typed box text all the way to marker positions and the mixed sample:
// whatever the bytes, the parse must be safe, every position must land in
// the picker and every mixed channel must be a byte.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "color/NumberRules.h"

namespace {

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

void CheckField(int32_t x, int32_t y, const color::PickerGeometry& g)
{
    Require(x >= g.FieldLeft && x <= g.FieldRight, "field x inside the field");
    Require(y >= g.FieldTop && y <= g.FieldBottom, "field y inside the field");
    Require(color::FieldXToHue(x, g) >= 0 && color::FieldXToHue(x, g) <= 360, "hue read from the field");
    Require(color::FieldXToSaturation(x, g) >= 0 && color::FieldXToSaturation(x, g) <= 100,
            "saturation read from the field");
    Require(color::FieldYToBrightness(y, g) >= 0 && color::FieldYToBrightness(y, g) <= 100,
            "brightness read from the field");
}

void CheckStrip(float y, const color::PickerGeometry& g)
{
    Require(y >= g.StripTop && y <= g.StripBottom, "strip position inside the strip");
    const int32_t hue = color::StripYToHue(y, g);
    Require(hue >= 0 && hue <= 360, "hue read from the strip");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static constexpr color::PickerGeometry g = color::MakePickerGeometry();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double v = color::ParseLeadingNumber(text);

    // Infinity is allowed (huge numbers), NaN never: nothing typed is "not a number".
    Require(!std::isnan(v), "parse never gives NaN");

    const float typed = color::HueToStripY(v, g);
    const float floored = color::HueToStripYFloored(v, g);
    CheckStrip(typed, g);
    CheckStrip(floored, g);
    Require(floored == std::floor(floored), "floored strip position is whole");

    CheckField(color::HueToFieldX(v, g), color::BrightnessToFieldY(v, g), g);
    CheckField(color::SaturationToFieldX(v, g), color::SaturationToFieldY(v, g), g);

    if (const auto rounded = color::RoundToInt32(v))
        Require(std::fabs(static_cast<double>(*rounded) - v) <= 0.5, "int32 rounding is nearest");

    // The first bytes, when present, stand for the strip colour under the marks.
    const auto channel = [&](size_t i) { return static_cast<int16_t>(i < size ? data[i] : 0); };
    const int16_t percent = color::PercentForMix(v);
    Require(percent >= 0 && percent <= 100, "percent for the mix");
    const int32_t mixed = color::HueMix(channel(0), channel(1), channel(2), percent,
                                        static_cast<int16_t>(100 - percent));
    Require(mixed >= 0 && mixed <= 0xFFFFFF, "mixed colour is ordinary");
    int16_t r = 0, gr = 0, b = 0;
    color::SplitColor(mixed, r, gr, b);
    Require(r >= 0 && r <= 255 && gr >= 0 && gr <= 255 && b >= 0 && b <= 255, "mixed channels are bytes");

    // Raw 16-bit inputs, as a caller that skipped PercentForMix would pass.
    const auto raw = [&](size_t i) {
        return static_cast<int16_t>(static_cast<uint16_t>(channel(i)) << 8 | static_cast<uint16_t>(channel(i + 1)));
    };
    const int32_t unchecked = color::HueMix(raw(0), raw(2), raw(4), raw(6), raw(8));
    Require(unchecked >= 0 && unchecked <= 0xFFFFFF, "mix of unchecked inputs is ordinary");
    return 0;
}
