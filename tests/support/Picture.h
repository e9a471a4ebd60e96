#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "platform/Surface.h"

// What the tests expect to see, written from the behaviour's own arithmetic
// and independent of the program's renderers.
namespace expected {

// Colour values are red + 256 * green + 65536 * blue, as everywhere else.
constexpr int32_t Rgb(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

// The colour value of one of Qt's 0xAARRGGBB words.
constexpr int32_t ValueOf(QRgb word)
{
    return Rgb(qRed(word), qGreen(word), qBlue(word));
}

constexpr int32_t Inverted(int32_t value)
{
    return value ^ 0xFFFFFF;
}

// Left and top inclusive, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr Box Grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// A colour value for every pixel of a width x height image.
class Picture {
public:
    Picture(int width, int height, int32_t fill);
    template <class F>
    static Picture Generated(int width, int height, F colorAt)
    {
        Picture p(width, height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                p.Set(x, y, colorAt(x, y));
        return p;
    }
    static Picture Of(const QImage& image);
    static Picture Of(const platform::Surface& surface);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int32_t At(int x, int y) const { return px_[Index(x, y)]; }
    // Pixels outside the picture are left out, as the surface clips.
    void Set(int x, int y, int32_t value);
    void Invert(int x, int y);

    // The part in `region` as bytes red, green, blue, rows top to bottom.
    std::string RgbBytes(const Box& region) const;
    // Writes every pixel into the surface, which must be as large.
    void PaintOnto(platform::Surface& surface) const;

private:
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_;
    int height_;
    std::vector<int32_t> px_;
};

// A different colour at every pixel and in every channel from its
// neighbours, so any write shows.
int32_t Pattern(int x, int y);
Picture PatternPicture(int width, int height);

} // namespace expected
