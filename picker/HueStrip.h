#pragma once
#include <cstddef>
#include <cstdint>

#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// The spectrum in the strip, 256 rows from red at the top through magenta,
// blue, cyan, green and yellow back to red; then the strip frame.
void DrawHueStrip(platform::Surface& s, PickerState& p);

// The strip's bitmap: 15 x 256 pixels of 3 bytes (blue, green, red), rows
// bottom-up in the buffer but blitted upside down, so buffer row i is strip
// row i. Each row is 16 pixels long: the 16th fills its padding.
constexpr int StripColumns = 15;
constexpr int StripRows = 256;
constexpr size_t StripRowBytes = 16 * 3;
constexpr size_t StripBitsBytes = StripRowBytes * StripRows;

// Writes all StripBitsBytes bytes at bits; span is the strip's height less
// one (255), which the six segments divide.
void FillHueStrip(uint8_t* bits, int32_t span);

} // namespace picker
