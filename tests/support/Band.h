#pragma once
#include "platform/Raster.h"

namespace expected {

// Pixels of the band between two nested boxes: the outer box minus the
// inner one (an empty inner box leaves the whole outer box), clipped.
platform::PixelList BandPixels(const platform::Box& outer, const platform::Box& inner, platform::ClipSize clip);

} // namespace expected
