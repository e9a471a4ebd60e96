#pragma once
#include <cstdint>

#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// The saturation-brightness square of one pure hue, with the ring kept
// right and the field frame redrawn.
void DrawHueField(platform::Surface& s, PickerState& p, int16_t red, int16_t green,
                  int16_t blue);

// One channel of the square at field column i, row k (0..255) for the
// channel's pure-hue value C, by the arithmetic the renderer is defined by.
// A value that does not fit a byte (only for C outside 0..255) gives 0, the
// byte the renderer leaves in its place.
uint8_t HueFieldChannel(int C, int i, int k);

} // namespace picker
