#include "swatches/SafePalette.h"

#include <string>

#include "color/ColorValue.h"
#include "color/SafeColor.h"

namespace swatches {

void DrawSafePicker(platform::Surface& s, const Cells& cells, int16_t Index, bool Clear)
{
    if (Index < 1 || Index > CellCount)
        return;
    const platform::RECT& c = cells[Index];
    s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.DrawWidth = 3;
    if (Clear) {
        s.ForeColor = s.BackColor;
        s.Rectangle(c.left - 2, c.top - 2, c.right + 2, c.bottom + 2);
    } else {
        s.DrawEdge({c.left - 3, c.top - 3, c.right + 3, c.bottom + 3}, platform::EDGE_SUNKEN,
                   platform::BF_RECT | platform::BF_SOFT);
    }
}

void PaintCell(platform::Surface& s, const platform::RECT& cell, int32_t colorValue)
{
    s.ForeColor = s.Colors().Ink;
    s.FillColor = color::IsColor(colorValue) ? colorValue : 0;
    s.Rectangle(cell.left, cell.top, cell.right, cell.bottom);
}

void DrawSafePalette(platform::Surface& s, const Cells& cells, int16_t SelectedCell)
{
    s.FillStyle = platform::FILLSTYLE_SOLID;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.DrawWidth = 1;
    // Past the 216 colours the cells are black fillers.
    for (int16_t k = 1; k <= CellCount; ++k) {
        int16_t red = 0, green = 0, blue = 0;
        std::string hex;
        PaintCell(s, cells[k], color::GetSafeColor(k, red, green, blue, hex));
    }
    DrawSafePicker(s, cells, SelectedCell, false);
}

} // namespace swatches
