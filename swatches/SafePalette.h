#pragma once
#include <cstdint>

#include "platform/Surface.h"
#include "swatches/CellGrid.h"

namespace swatches {

// Draws the sunken selection edge in the gap around cell `Index`, or paints
// the gap back in the background colour when `Clear` is set.
void DrawSafePicker(platform::Surface& s, const Cells& cells, int16_t Index, bool Clear);

// All 224 cells of the safe panel (216 colours, 8 black fillers), then the
// selection edge around `SelectedCell`.
void DrawSafePalette(platform::Surface& s, const Cells& cells, int16_t SelectedCell);

// Paints one cell: an outline in the face's ink (black on a light face),
// `colorValue` inside (black when it is no colour).
void PaintCell(platform::Surface& s, const platform::RECT& cell, int32_t colorValue);

} // namespace swatches
