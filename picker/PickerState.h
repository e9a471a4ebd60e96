#pragma once
#include <cstdint>

#include "color/PickerGeometry.h"
#include "platform/GdiTypes.h"

namespace picker {

// What the renderers and markers read: the fixed geometry, the header the
// bitmap renderers share, and where the current colour sits.
struct PickerState {
    color::PickerGeometry Geometry;
    platform::BITMAPINFOHEADER DibHeader;
    int32_t FieldX = 0; // ring centre, whole client pixels
    int32_t FieldY = 0;
    float StripY = 0;   // strip row; a typed hue may leave a fraction
};

// The fixed fields of the shared header: size 40, one plane, 24 bits,
// uncompressed. Width and height are set by each renderer.
void InitDibHeader(platform::BITMAPINFOHEADER& DibHeader);

} // namespace picker
