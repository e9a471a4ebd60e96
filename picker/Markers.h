#pragma once
#include <cstdint>

#include "color/PickerGeometry.h"
#include "platform/Surface.h"

namespace picker {

constexpr int RingRadius = 5;

// Toggles the ring of radius 5 around (FieldX, FieldY) by inversion.
void DrawPicker(platform::Surface& s, int32_t FieldX, int32_t FieldY);

// Toggles the two strip marks at row y by inversion: columns
// StripLeft - 5 .. StripLeft - 2 and StripRight + 2 .. StripRight + 5.
void DrawStripMarks(platform::Surface& s, const color::PickerGeometry& g, int16_t y);

// The row the marks of a strip position stand on: nearest, ties to even.
int16_t MarkRow(float StripY);

} // namespace picker
