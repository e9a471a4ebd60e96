// Prints, as one JSON object, what the end-to-end tests cannot compute from
// closed forms: the palette colours of this display and style, and the pixel
// sets of the ring and the strip marks (the drawing layer's choice), found by
// toggling them with the program's own routines on a black image.
//
// Run it on the display the program runs on, so the palette is the same.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

#include "color/PickerGeometry.h"
#include "picker/Markers.h"
#include "platform/Surface.h"

namespace {

constexpr int Size = 400;
constexpr int Centre = 200;

std::string Rgb(const QColor& c)
{
    return "[" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + "]";
}

// Pixels an inverting figure turned from black to white, relative to (dx, dy).
std::string Toggled(const platform::Surface& s, int dx, int dy)
{
    std::string out;
    for (int y = 0; y < s.Height(); ++y) {
        const uint32_t* line = s.ScanLine(y);
        for (int x = 0; x < s.Width(); ++x) {
            if ((line[x] & 0xFFFFFFu) == 0)
                continue;
            if (!out.empty())
                out += ",";
            out += "[" + std::to_string(x - dx) + "," + std::to_string(y - dy) + "]";
        }
    }
    return "[" + out + "]";
}

} // namespace

int main(int argc, char** argv)
{
    // The same application set-up as the program's, for the same palette.
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette pal = QApplication::palette();

    const platform::SystemColors black; // every colour 0: the image starts black
    platform::Surface ring(Size, Size, black, QApplication::font());
    picker::DrawPicker(ring, Centre, Centre);

    // Marks at a row in the middle, with the strip's real columns.
    platform::Surface marks(Size, Size, black, QApplication::font());
    picker::DrawStripMarks(marks, color::MakePickerGeometry(), Centre);

    std::printf("{\"face\":%s,\"dark_shadow\":%s,\"shadow\":%s,\"light\":%s,\"highlight\":%s,"
                "\"ring\":%s,\"marks\":%s}\n",
                Rgb(pal.color(QPalette::Window)).c_str(), Rgb(pal.color(QPalette::Shadow)).c_str(),
                Rgb(pal.color(QPalette::Dark)).c_str(), Rgb(pal.color(QPalette::Midlight)).c_str(),
                Rgb(pal.color(QPalette::Light)).c_str(), Toggled(ring, Centre, Centre).c_str(),
                Toggled(marks, 0, Centre).c_str());
    return 0;
}
