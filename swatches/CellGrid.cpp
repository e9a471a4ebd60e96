#include "swatches/CellGrid.h"

namespace swatches {

Cells BuildSafeCells()
{
    Cells cells{};
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

int HitCell(const Cells& cells, double X, double Y)
{
    for (int k = 1; k <= CellCount; ++k) {
        const platform::RECT& r = cells[k];
        if (r.left < X && X < r.right && r.top < Y && Y < r.bottom)
            return k;
    }
    return 0;
}

} // namespace swatches
