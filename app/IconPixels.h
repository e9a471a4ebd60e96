#pragma once
#include <cstdint>

namespace app {

// The window's own picture as 0xAARRGGBB words, row by row, compiled into
// the program: showing it decodes nothing, so no image format is looked for
// before the window first appears. Written at build time from
// icons/tinctara.png by EmbedIcon.
extern const int ProgramIconWidth;
extern const int ProgramIconHeight;
extern const uint32_t ProgramIconPixels[];

} // namespace app
