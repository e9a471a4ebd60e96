#pragma once
#include <cstdint>

#include <QPalette>

#include "platform/Surface.h"

namespace expected {

// The face and 3-D colours the desktop gives: the application palette's
// window colour, shadow (dark shadow), dark (shadow), midlight (light) and
// light (highlight). Needs a running application.
int32_t PaletteValue(QPalette::ColorRole role);
platform::SystemColors PaletteColors();

} // namespace expected
