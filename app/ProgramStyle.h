#pragma once

class QStyle;

namespace app {

// The program's style: Fusion, except that a standard icon no window shows
// at start-up is only looked up once something draws it. A menu bar asks
// for its overflow button's icon when it is made, which reads an image
// file and with it looks through every image format plugin; this window's
// menus always fit, so the button never shows.
QStyle* CreateProgramStyle();

} // namespace app
