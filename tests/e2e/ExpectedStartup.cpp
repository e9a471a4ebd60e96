// Draws what the picker part of the client area (x 0..301, y 0..274) must
// show right after start-up and writes it as a binary PPM. Field, strip,
// background and frames are computed here from their closed forms, not by the
// renderers; only the ring and the strip marks, whose pixels are the
// drawing layer's choice, are toggled with the program's own routines.
//
// Run it on the display the program runs on: the palette (and so the
// background and 3-D colours) comes from the same platform and style.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

#include "color/PickerGeometry.h"
#include "picker/Markers.h"
#include "platform/Surface.h"

namespace {

constexpr int ClientWidth = 434;
constexpr int ClientHeight = 275;
constexpr int RegionWidth = 302; // left of the frames and controls

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

Rgb FromQColor(const QColor& c)
{
    return {c.red(), c.green(), c.blue()};
}

// Nearest integer to (255 - k) * (65025 - i * (255 - C)) / 65025; the exact
// quotient is never halfway between two integers.
int FieldChannel(int C, int i, int k)
{
    const long long num = static_cast<long long>(255 - k) * (65025 - static_cast<long long>(i) * (255 - C));
    if ((2 * num) % 130050 == 65025) {
        std::fprintf(stderr, "unexpected tie at C=%d i=%d k=%d\n", C, i, k);
        std::exit(3);
    }
    return static_cast<int>((2 * num + 65025) / 130050);
}

// The six linear ramps of the spectrum, row i from the top.
Rgb StripRow(int i)
{
    if (i <= 42)
        return {255, 0, 6 * i};
    if (i <= 85)
        return {510 - 6 * i, 0, 255};
    if (i <= 127)
        return {0, 6 * i - 510, 255};
    if (i <= 170)
        return {0, 255, 1020 - 6 * i};
    if (i <= 212)
        return {6 * i - 1020, 255, 0};
    return {255, 1530 - 6 * i, 0};
}

class Picture {
public:
    Picture(int w, int h, Rgb fill) : w_(w), px_(static_cast<size_t>(w) * h, fill) {}
    void Set(int x, int y, Rgb c) { px_[static_cast<size_t>(y) * w_ + x] = c; }
    Rgb Get(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

private:
    int w_;
    std::vector<Rgb> px_;
};

// A sunken one-pixel edge along the inside of the rectangle (right and
// bottom exclusive): left and top lines in the dark colour, right and bottom
// lines in the light one, which also take the two corners they share with
// the dark lines.
void SunkenEdge(Picture& p, int left, int top, int right, int bottom, Rgb dark, Rgb light)
{
    for (int y = top; y < bottom; ++y)
        p.Set(left, y, dark);
    for (int x = left; x < right; ++x)
        p.Set(x, top, dark);
    for (int y = top; y < bottom; ++y)
        p.Set(right - 1, y, light);
    for (int x = left; x < right; ++x)
        p.Set(x, bottom - 1, light);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ppm\n", argc > 0 ? argv[0] : "e2e_expected_startup");
        return 2;
    }
    // The same application set-up as the program's, for the same palette.
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette pal = QApplication::palette();
    const Rgb face = FromQColor(pal.color(QPalette::Window));
    const Rgb darkShadow = FromQColor(pal.color(QPalette::Shadow));
    const Rgb light = FromQColor(pal.color(QPalette::Midlight));

    Picture pic(ClientWidth, ClientHeight, face);
    // Field of pure red, client (10 + i, 10 + k).
    const int C[3] = {255, 0, 0};
    for (int k = 0; k < 256; ++k)
        for (int i = 0; i < 256; ++i)
            pic.Set(10 + i, 10 + k, {FieldChannel(C[0], i, k), FieldChannel(C[1], i, k), FieldChannel(C[2], i, k)});
    // Spectrum strip, columns 277..291, rows 10..265.
    for (int i = 0; i < 256; ++i)
        for (int x = 277; x <= 291; ++x)
            pic.Set(x, 10 + i, StripRow(i));
    SunkenEdge(pic, 9, 9, 268, 268, darkShadow, light);
    SunkenEdge(pic, 276, 9, 293, 268, darkShadow, light);

    // Ring and marks: inverted onto this picture by the program's routines.
    platform::SystemColors colors;
    platform::Surface surface(ClientWidth, ClientHeight, colors, QApplication::font());
    for (int y = 0; y < ClientHeight; ++y) {
        uint32_t* line = surface.ScanLine(y);
        for (int x = 0; x < ClientWidth; ++x) {
            const Rgb c = pic.Get(x, y);
            line[x] = 0xFF000000u | static_cast<uint32_t>(c.r << 16 | c.g << 8 | c.b);
        }
    }
    const color::PickerGeometry g = color::MakePickerGeometry();
    picker::DrawStripMarks(surface, g, 265);
    picker::DrawPicker(surface, 265, 10);

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", RegionWidth, ClientHeight);
    for (int y = 0; y < ClientHeight; ++y) {
        const uint32_t* line = surface.ScanLine(y);
        for (int x = 0; x < RegionWidth; ++x) {
            const unsigned char px[3] = {static_cast<unsigned char>(line[x] >> 16 & 0xFF),
                                         static_cast<unsigned char>(line[x] >> 8 & 0xFF),
                                         static_cast<unsigned char>(line[x] & 0xFF)};
            std::fwrite(px, 1, 3, out);
        }
    }
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("face %d,%d,%d dark shadow %d,%d,%d light %d,%d,%d\n", face.r, face.g, face.b, darkShadow.r,
                darkShadow.g, darkShadow.b, light.r, light.g, light.b);
    return 0;
}
