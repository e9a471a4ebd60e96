#include "app/SystemLook.h"

#include <QImage>
#include <QPixmap>

#include "app/IconPixels.h"

#include "color/ColorValue.h"
#include "color/Contrast.h"

namespace app {

platform::SystemColors SystemColorsFrom(const QPalette& palette)
{
    auto value = [&](QPalette::ColorRole role) { return platform::FromQRgb(palette.color(role).rgb()); };
    platform::SystemColors c;
    c.Face = value(QPalette::Window);
    c.DarkShadow = value(QPalette::Shadow);
    c.Shadow = value(QPalette::Dark);
    c.Light = value(QPalette::Midlight);
    c.Highlight = value(QPalette::Light);
    // Text and outlines are black as on any light face; on a dark one, black
    // could not be seen, so they take the scheme's own text colour.
    c.Ink = color::RelativeLuminance(c.Face) < 0.5 ? value(QPalette::WindowText) : 0;
    return c;
}

QFont WindowFont()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont ArialFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QIcon ProgramIcon()
{
    const QImage picture(reinterpret_cast<const uchar*>(ProgramIconPixels), ProgramIconWidth, ProgramIconHeight,
                         QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(picture));
}

} // namespace app
