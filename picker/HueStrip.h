#pragma once
#include <cstdint>

#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// The spectrum in the strip, 256 rows from red at the top through magenta,
// blue, cyan, green and yellow back to red; then the strip frame.
void DrawHueStrip(platform::Surface& s, PickerState& p);

// Colour (0x00BBGGRR) of strip row i (0..255, counted from the top).
int32_t HueStripRowColor(int i);

} // namespace picker
