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

// The file's bytes as values: one number per line (CR LF, LF or CR), read by
// the leading-number rule and rounded; a line without a number, a number
// outside the 32-bit range, and every line missing at the end read 0.
// Lines after the 225th are ignored.
CustomColorArray ParseCustomColors(const QByteArray& bytes);

// 225 lines, each " 255 " or "-5 " style (sign or space, digits, space),
// ending in CR LF.
QByteArray FormatCustomColors(const CustomColorArray& colors);

// 225 lines of a few bytes each: more than this is not ours to read.
inline constexpr qsizetype CustomColorsReadLimit = 1 << 20;

// Reads the file; a missing or unreadable file gives all zeros, a file
// that fails part way what came before.
CustomColorArray ReadCustomColorsFile(const QString& path);

// Replaces the file whole or not at all, and then removes what earlier
// interrupted saves left beside it. Empty on success, else the reason.
QString WriteCustomColorsFile(const QString& path, const CustomColorArray& colors);

// The 224 cells in their colours and the selection edge.
void PaintCustomColors(platform::Surface& s, const Cells& cells, const CustomColorArray& colors,
                       int16_t SelectedCell);

// A copy installed by a package or `cmake --install`: its program folder is
// a bin folder beside a share/applications that holds our desktop entry.
bool IsInstalledCopy(const QString& programFolder);

// Where the file lives: the program's folder while it is writable and only
// by its owner (a build or a portable copy), otherwise, and always for an
// installed copy, the user's data folder.
QString CustomColorsFolder(const QString& programFolder);

} // namespace swatches
