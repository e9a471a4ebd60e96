#pragma once
// Closed forms of what the swatch panel shows, shared by the swatch tests
// and the window tests.
#include <cstdint>
#include <cstdio>
#include <string>

#include <QImage>
#include <gtest/gtest.h>

#include "platform/Surface.h"

namespace swatch_testing {

struct Box {
    int left, top, right, bottom; // right and bottom exclusive
};

// Cell k (1..224): 14 rows of 16 from (10, 10), 15 pixels wide, 18 apart.
inline Box CellBox(int k)
{
    const int row = (k - 1) / 16, column = (k - 1) % 16;
    return {10 + 18 * column, 10 + 18 * row, 25 + 18 * column, 25 + 18 * row};
}

// The safe colour of cell k: k - 1 in base 6 gives the red, green and blue
// steps of 51; cells 217..224 are black fillers.
inline int32_t SafeColor(int k)
{
    if (k > 216)
        return 0;
    const int n = k - 1;
    return 51 * (n / 36) + 256 * 51 * ((n / 6) % 6) + 65536 * 51 * (n % 6);
}

inline void Put(QImage& img, int x, int y, int32_t value)
{
    img.setPixel(x, y, platform::ToQRgb(value));
}

inline QImage Blank(int width, int height, int32_t value)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(platform::ToQRgb(value));
    return img;
}

// A one-pixel black outline around a 13 x 13 interior; a value that is no
// colour is painted black.
inline void PaintCell(QImage& img, int k, int32_t value)
{
    const Box c = CellBox(k);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            const bool outline = x == c.left || x == c.right - 1 || y == c.top || y == c.bottom - 1;
            Put(img, x, y, outline ? 0 : value);
        }
}

// The two-pixel sunken edge in the gap around cell k: the outer ring
// shadow/highlight, the inner ring dark shadow/light, the right and bottom
// sides owning the corners.
inline void PaintEdge(QImage& img, int k, const platform::SystemColors& colors)
{
    const Box c = CellBox(k);
    const struct {
        int inset;
        int32_t leftTop, rightBottom;
    } rings[] = {{3, colors.Shadow, colors.Highlight}, {2, colors.DarkShadow, colors.Light}};
    for (const auto& r : rings) {
        const int x0 = c.left - r.inset, y0 = c.top - r.inset;
        const int x1 = c.right - 1 + r.inset, y1 = c.bottom - 1 + r.inset;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                if (x == x1 || y == y1)
                    Put(img, x, y, r.rightBottom);
                else if (x == x0 || y == y0)
                    Put(img, x, y, r.leftTop);
            }
    }
}

// Every pixel compared; the count and the first difference reported.
inline ::testing::AssertionResult SameImage(const QImage& got, const QImage& want)
{
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << "image sizes differ";
    const QImage a = got.convertToFormat(QImage::Format_RGB32);
    const QImage b = want.convertToFormat(QImage::Format_RGB32);
    if (a == b)
        return ::testing::AssertionSuccess();
    long bad = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int32_t g = platform::FromQRgb(a.pixel(x, y));
            const int32_t w = platform::FromQRgb(b.pixel(x, y));
            if (g != w && bad++ == 0) {
                char buf[96];
                std::snprintf(buf, sizeof buf, "(%d, %d) is %06X, expected %06X", x, y, unsigned(g), unsigned(w));
                first = buf;
            }
        }
    return ::testing::AssertionFailure() << bad << " pixels differ; first " << first;
}

} // namespace swatch_testing
