#include "tests/support/Palette.h"

#include <QGuiApplication>

#include "tests/support/Picture.h"

namespace expected {

int32_t PaletteValue(QPalette::ColorRole role)
{
    const QColor c = QGuiApplication::palette().color(role);
    return Rgb(c.red(), c.green(), c.blue());
}

platform::SystemColors PaletteColors()
{
    platform::SystemColors c;
    c.Face = PaletteValue(QPalette::Window);
    c.DarkShadow = PaletteValue(QPalette::Shadow);
    c.Shadow = PaletteValue(QPalette::Dark);
    c.Light = PaletteValue(QPalette::Midlight);
    c.Highlight = PaletteValue(QPalette::Light);
    return c;
}

} // namespace expected
