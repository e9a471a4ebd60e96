#include "swatches/CellGrid.h"

namespace swatches {

std::array<platform::RECT, CellCount + 1> BuildSafeCells()
{
    std::array<platform::RECT, CellCount + 1> cells{};
    for (int k = 1; k <= CellCount; ++k) {
        const int row = (k - 1) / 16;
        const int column = (k - 1) % 16;
        platform::RECT& r = cells[k];
        r.left = 10 + 18 * column;
        r.top = 10 + 18 * row;
        r.right = r.left + 15;
        r.bottom = r.top + 15;
    }
    return cells;
}

} // namespace swatches
