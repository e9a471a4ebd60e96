#pragma once
#include <set>
#include <utility>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "platform/Surface.h"
#include "tests/support/Compare.h"
#include "tests/support/Palette.h"

namespace platform::testing {

using expected::Inverted;
using expected::MatchesEverywhere;
using expected::PaletteColors;
using expected::PaletteValue;
using expected::Pattern;

inline Surface PatternSurface(int width, int height)
{
    Surface s(width, height, PaletteColors(), QGuiApplication::font());
    expected::PatternPicture(width, height).PaintOnto(s);
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

} // namespace platform::testing
