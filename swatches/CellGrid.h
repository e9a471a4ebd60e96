#pragma once
#include <array>

#include "platform/GdiTypes.h"

namespace swatches {

constexpr int CellCount = 224;
using Cells = std::array<platform::RECT, CellCount + 1>;

// The 224 swatch cells, 14 rows of 16, each 15 x 15 pixels with 3-pixel
// gaps, from (10, 10). Index 0 is unused so cells keep their numbers.
Cells BuildSafeCells();

// The first cell whose inside (borders excluded) holds the point, or 0.
int HitCell(const Cells& cells, double X, double Y);

} // namespace swatches
