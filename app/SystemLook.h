#pragma once
#include <QFont>
#include <QIcon>
#include <QPalette>

#include "platform/Surface.h"

namespace app {

// The face and 3-D colours of the desktop, from the application palette.
platform::SystemColors SystemColorsFrom(const QPalette& palette);

// The window font: an 8-point sans face, fixed in pixels so the 25 x 19
// boxes hold three digits and a line is at most 13 pixels on every screen.
QFont WindowFont();
// The labels that ask for Arial; Liberation Sans has its metrics.
QFont ArialFont();

// The program's icon, for its windows.
QIcon ProgramIcon();

} // namespace app
