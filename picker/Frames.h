#pragma once
#include "color/PickerGeometry.h"
#include "platform/Surface.h"

namespace picker {

// Sunken one-pixel frames around the field and the strip; both refresh.
void DrawSelFrame(platform::Surface& s, const color::PickerGeometry& g);
void DrawMainFrame(platform::Surface& s, const color::PickerGeometry& g);

// Frame rectangles (right and bottom exclusive).
platform::RECT FieldFrameRect(const color::PickerGeometry& g);
platform::RECT StripFrameRect(const color::PickerGeometry& g);

} // namespace picker
