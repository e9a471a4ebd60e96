#pragma once
#include <array>
#include <cstdint>
#include <string>

#include <QByteArray>
#include <QString>

#include "platform/Surface.h"
#include "swatches/CellGrid.h"

namespace swatches {

// Element 0 is kept and written back but never shown; 1..224 are the cells.
using CustomColorArray = std::array<int32_t, CellCount + 1>;

inline const QString CustomColorsFileName = QStringLiteral("usercolors.cps");

// The file's bytes as values: one number per line (CR LF or LF), read by
// the leading-number rule and rounded; a line without a number, a number
// outside the 32-bit range, and every line missing at the end read 0.
// Lines after the 225th are ignored.
CustomColorArray ParseCustomColors(const QByteArray& bytes);

// 225 lines, each " 255 " or "-5 " style (sign or space, digits, space),
// ending in CR LF.
QByteArray FormatCustomColors(const CustomColorArray& colors);

// Reads the file; a missing or unreadable file gives all zeros.
CustomColorArray ReadCustomColorsFile(const QString& path);

// Replaces the file whole or not at all. Empty on success, else the reason.
QString WriteCustomColorsFile(const QString& path, const CustomColorArray& colors);

// The 224 cells in their colours and the selection edge.
void PaintCustomColors(platform::Surface& s, const Cells& cells, const CustomColorArray& colors,
                       int16_t SelectedCell);

// Where the file lives: the program's folder while it is writable (a build
// or a portable copy), otherwise the user's data folder.
QString CustomColorsFolder(const QString& programFolder);

} // namespace swatches
