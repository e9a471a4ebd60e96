#pragma once
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "color/PickerGeometry.h"
#include "picker/PickerState.h"
#include "platform/Surface.h"
#include "tests/support/Compare.h"
#include "tests/support/Palette.h"
#include "tests/support/Picker.h"

namespace picker::testing {

using expected::ClientHeight;
using expected::ClientWidth;
using expected::Inverted;
using expected::PaletteColors;
using expected::Pattern;
using expected::PatternPicture;
using expected::Picture;
using expected::Rgb;
using expected::SameImage;
using expected::SameRegion;

// A client-sized surface in the desktop's colours, its background `p`.
inline platform::Surface NewSurface(const Picture& p = PatternPicture(ClientWidth, ClientHeight))
{
    platform::Surface s(ClientWidth, ClientHeight, PaletteColors(), QGuiApplication::font());
    p.PaintOnto(s);
    return s;
}

inline PickerState StartState()
{
    PickerState p;
    p.Geometry = color::MakePickerGeometry();
    InitDibHeader(p.DibHeader);
    p.FieldX = p.Geometry.FieldRight;
    p.FieldY = p.Geometry.FieldTop;
    p.StripY = static_cast<float>(p.Geometry.StripBottom);
    return p;
}

} // namespace picker::testing
