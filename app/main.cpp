#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/Form1.h"
#include "app/ProgramStyle.h"
#include "app/SystemLook.h"
#include "app/Version.h"

namespace {
bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(name);
        if (v && *v)
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fprintf(stderr, "tinctara: no display to open the window on; run it in a desktop session, "
                             "or under a virtual X server: xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "tinctara");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tinctara"));
    QApplication::setStyle(app::CreateProgramStyle());
    QApplication::setFont(app::WindowFont());
    QApplication::setWindowIcon(app::ProgramIcon());
    // Names the desktop entry, and on Wayland the app id.
    QGuiApplication::setDesktopFileName(app::AppId());
    Form1 form;
    return app.exec();
}
