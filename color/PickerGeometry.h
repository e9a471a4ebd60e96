#pragma once
#include <cstdint>

namespace color {

// Where the field and the strip lie, in client pixels. Field bounds are
// inclusive; the strip's columns are StripLeft to StripRight - 1.
struct PickerGeometry {
    int32_t FieldLeft = 0;
    int32_t FieldTop = 0;
    int32_t FieldRight = 0;
    int32_t FieldBottom = 0;
    int32_t StripLeft = 0;
    int32_t StripRight = 0;
    int32_t StripTop = 0;
    int32_t StripBottom = 0;
};

// The one geometry of the window, derived in the order the window sets it.
constexpr PickerGeometry MakePickerGeometry()
{
    PickerGeometry g;
    g.FieldLeft = 10;
    g.FieldTop = 10;
    g.FieldRight = 255 + 10;
    g.FieldBottom = 255 + g.FieldTop;
    g.StripLeft = g.FieldRight + 12;
    g.StripRight = g.StripLeft + 15;
    g.StripTop = g.FieldTop;
    g.StripBottom = g.FieldBottom;
    return g;
}

} // namespace color
