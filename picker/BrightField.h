#pragma once
#include <cstdint>

#include "color/PickerGeometry.h"
#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// Brightness mode: hue across and saturation down at full brightness, with
// the ring kept right and the field frame redrawn. Sets DibHeader to 256 x
// 256 itself.
void DrawBrightField(platform::Surface& s, PickerState& p);

// The strip from the given colour at the top to black at the bottom, as 256
// one-pixel lines, then the strip frame.
void DrawBrightStrip(platform::Surface& s, const color::PickerGeometry& g, const int16_t& red,
                     const int16_t& green, const int16_t& blue);

} // namespace picker
