#pragma once
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

#include "swatches/CustomColors.h"

namespace swatches {

// The text formats the custom colours are exported in.
enum class PaletteFormat { Gimp, Css, Hex };

// The 224 cells, in order, in the format: a GIMP palette ("R G B<TAB>#RRGGBB"
// lines, sixteen columns), CSS custom properties (--tinctara-1 to
// --tinctara-224 on :root) or one #RRGGBB line each. A value that is no
// colour is written as black, as the panel shows it.
QByteArray FormatPalette(const CustomColorArray& colors, PaletteFormat format);

// What a palette file gave.
struct PaletteRead {
    // Every colour, in the file's order (there may be more than fit).
    std::vector<int32_t> colors;
    // Lines that held text but no colour.
    int skipped = 0;
    // The first of them: its number from 1 and its text; 0 if none.
    int firstBadLine = 0;
    QString firstBadText;
};

// Reads a GIMP palette (its header, optional Name: and Columns: lines, #
// comments, "R G B" with or without a name), or text with one colour per
// line in any notation that pasted colour text may use (CSS custom
// property lines as exported included). CR LF, LF and CR end lines; blank
// lines are ignored.
PaletteRead ReadPalette(const QByteArray& bytes);

} // namespace swatches
