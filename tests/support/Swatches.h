#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"
#include "tests/support/Picker.h"
#include "tests/support/Picture.h"

// The swatch panel as it must look, and the custom colours file as it
// must read.
namespace expected {

constexpr int CellCount = 224;

// Cell k (1..224): 14 rows of 16 from (10, 10), 15 pixels square, 18 apart.
Box CellBox(int k);
struct Point {
    int x, y;
};
// A pixel well inside cell k.
Point CellCentre(int k);

// Safe colour of cell k: k - 1 in base 6 gives the red, green and blue
// steps of 51; cells 217..224 are black fillers.
int32_t SafeColor(int k);

// Cell k: a one-pixel black outline around its colour, black when the value
// is no colour.
void PaintCell(Picture& p, int k, int32_t value);
// The two-pixel sunken edge in the gap around cell k.
void PaintSelectionEdge(Picture& p, int k, const platform::SystemColors& colors);
// The three-pixel ring of the gap around `cell` in one colour.
void PaintGap(Picture& p, const Box& cell, int32_t value);

// The drawing surface with the 224 cells and the edge around `selected`.
template <class F>
Picture PanelPicture(F colorOfCell, int selected, const platform::SystemColors& colors)
{
    Picture p(ClientWidth, ClientHeight, colors.Face);
    for (int k = 1; k <= CellCount; ++k)
        PaintCell(p, k, colorOfCell(k));
    PaintSelectionEdge(p, selected, colors);
    return p;
}
Picture SafePanelPicture(int selected, const platform::SystemColors& colors);

// The custom colours file: line n holds value n, a space or minus sign,
// the digits, a space, CR LF.
std::string CustomColorsFile(const std::vector<int32_t>& values);

} // namespace expected
