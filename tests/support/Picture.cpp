#include "tests/support/Picture.h"

namespace expected {

namespace {
QRgb WordOf(int32_t value)
{
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
} // namespace

Picture::Picture(int width, int height, int32_t fill)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height, fill)
{
}

Picture Picture::Of(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture p(rgb.width(), rgb.height(), 0);
    for (int y = 0; y < p.height_; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < p.width_; ++x)
            p.px_[p.Index(x, y)] = ValueOf(line[x]);
    }
    return p;
}

Picture Picture::Of(const platform::Surface& surface)
{
    return Of(surface.Image());
}

void Picture::Set(int x, int y, int32_t value)
{
    if (Contains(x, y))
        px_[Index(x, y)] = value;
}

void Picture::Invert(int x, int y)
{
    if (Contains(x, y))
        px_[Index(x, y)] = Inverted(px_[Index(x, y)]);
}

std::string Picture::RgbBytes(const Box& region) const
{
    std::string out;
    out.reserve(static_cast<size_t>(region.right - region.left) * (region.bottom - region.top) * 3);
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            const int32_t v = At(x, y);
            out += static_cast<char>(v & 0xFF);
            out += static_cast<char>((v >> 8) & 0xFF);
            out += static_cast<char>((v >> 16) & 0xFF);
        }
    return out;
}

void Picture::PaintOnto(platform::Surface& surface) const
{
    for (int y = 0; y < height_; ++y) {
        uint32_t* line = surface.ScanLine(y);
        for (int x = 0; x < width_; ++x)
            line[x] = WordOf(At(x, y));
    }
}

int32_t Pattern(int x, int y)
{
    return Rgb((x * 97 + y * 57 + 11) & 0xFF, (x * 13 + y * 211 + 5) & 0xFF, (x * y + 3 * x + 71) & 0xFF);
}

Picture PatternPicture(int width, int height)
{
    return Picture::Generated(width, height, Pattern);
}

} // namespace expected
