#pragma once
#include <cstdint>

#include "color/PickerGeometry.h"
#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// Saturation mode: hue across and brightness down at full saturation, with
// the ring kept right and the field frame redrawn. Uses DibHeader as found
// (256 x 256 after every other field renderer).
void DrawSatField(platform::Surface& s, PickerState& p);

// Brightness mode: hue across and saturation down at full brightness, with
// the ring kept right and the field frame redrawn. Sets DibHeader to 256 x
// 256 itself.
void DrawBrightField(platform::Surface& s, PickerState& p);

// The strip from the given colour at the top to white (saturation mode) or
// black (brightness mode) at the bottom, as 256 one-pixel rows, then the
// strip frame.
void DrawSatStrip(platform::Surface& s, const color::PickerGeometry& g, int16_t red,
                  int16_t green, int16_t blue);
void DrawBrightStrip(platform::Surface& s, const color::PickerGeometry& g, int16_t red,
                     int16_t green, int16_t blue);

} // namespace picker
