#include "tests/support/Swatches.h"

#include <cstdlib>

namespace expected {

Box CellBox(int k)
{
    const int row = (k - 1) / 16, column = (k - 1) % 16;
    return {10 + 18 * column, 10 + 18 * row, 25 + 18 * column, 25 + 18 * row};
}

Point CellCentre(int k)
{
    const Box c = CellBox(k);
    return {c.left + 7, c.top + 7};
}

int32_t SafeColor(int k)
{
    if (k > 216)
        return 0;
    const int n = k - 1;
    return Rgb(51 * (n / 36), 51 * (n / 6 % 6), 51 * (n % 6));
}

void PaintCell(Picture& p, int k, int32_t value)
{
    const Box c = CellBox(k);
    const int32_t inside = value >= 0 && value <= 0xFFFFFF ? value : 0;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            const bool outline = x == c.left || x == c.right - 1 || y == c.top || y == c.bottom - 1;
            p.Set(x, y, outline ? 0 : inside);
        }
}

void PaintSelectionEdge(Picture& p, int k, const platform::SystemColors& colors)
{
    PaintSunkenEdge(p, CellBox(k).Grown(3), colors);
}

void PaintGap(Picture& p, const Box& cell, int32_t value)
{
    const Box outer = cell.Grown(3);
    for (int y = outer.top; y < outer.bottom; ++y)
        for (int x = outer.left; x < outer.right; ++x)
            if (x < cell.left || x >= cell.right || y < cell.top || y >= cell.bottom)
                p.Set(x, y, value);
}

Picture SafePanelPicture(int selected, const platform::SystemColors& colors)
{
    return PanelPicture(SafeColor, selected, colors);
}

std::string CustomColorsFile(const std::vector<int32_t>& values)
{
    std::string out;
    for (int32_t v : values)
        out += (v < 0 ? "-" : " ") + std::to_string(std::llabs(v)) + " \r\n";
    return out;
}

} // namespace expected
