#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

#include "platform/Surface.h"

namespace platform::testing {

inline int32_t PaletteValue(QPalette::ColorRole role)
{
    return FromQRgb(QGuiApplication::palette().color(role).rgb());
}

inline SystemColors PaletteColors()
{
    SystemColors c;
    c.Face = PaletteValue(QPalette::Window);
    c.DarkShadow = PaletteValue(QPalette::Shadow);
    c.Shadow = PaletteValue(QPalette::Dark);
    c.Light = PaletteValue(QPalette::Midlight);
    c.Highlight = PaletteValue(QPalette::Light);
    return c;
}

// A colour value for every pixel, different from its neighbours in every
// channel, so any change of a pixel shows.
inline int32_t Pattern(int x, int y)
{
    const int red = (x * 97 + y * 57 + 11) & 0xFF;
    const int green = (x * 13 + y * 211 + 5) & 0xFF;
    const int blue = (x * y + 3 * x + 71) & 0xFF;
    return red | (green << 8) | (blue << 16);
}

inline int32_t Inverted(int32_t value)
{
    return value ^ 0xFFFFFF;
}

inline Surface PatternSurface(int width, int height)
{
    Surface s(width, height, PaletteColors(), QGuiApplication::font());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            s.ScanLine(y)[x] = ToQRgb(Pattern(x, y));
        }
    }
    return s;
}

using PixelSet = std::set<std::pair<int, int>>;

// Pixels whose value differs between the two images of equal size.
inline PixelSet Changed(const QImage& before, const QImage& after)
{
    PixelSet out;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                out.insert({x, y});
            }
        }
    }
    return out;
}

// Compares every pixel with expected(x, y); reports the count and the first
// mismatch.
template <typename Expected>
::testing::AssertionResult MatchesEverywhere(const Surface& s, Expected expected)
{
    int mismatches = 0;
    std::string first;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            const int32_t want = expected(x, y);
            const int32_t got = s.Point(x, y);
            if (got != want) {
                if (mismatches++ == 0) {
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): got " + std::to_string(got) +
                            ", want " + std::to_string(want);
                }
            }
        }
    }
    if (mismatches == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << mismatches << " pixels differ, first " << first;
}

} // namespace platform::testing
