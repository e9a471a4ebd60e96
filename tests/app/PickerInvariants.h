#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "app/SystemLook.h"
#include "color/ColorValue.h"
#include "color/PickerGeometry.h"
#include "picker/HueField.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"
#include "platform/Surface.h"
#include "swatches/CustomColors.h"
#include "swatches/SafePalette.h"

// What must hold of the picker whatever happened before: one ring, one pair
// of strip marks, and under them exactly what the mode renders from scratch.
namespace invariants {

enum class Mode { Hue, Saturation, Brightness };

inline Mode ModeOf(const Form1& f)
{
    if (f.optS->isChecked())
        return Mode::Saturation;
    if (f.optB->isChecked())
        return Mode::Brightness;
    return Mode::Hue;
}

inline const char* ModeName(Mode m)
{
    return m == Mode::Hue ? "hue" : m == Mode::Saturation ? "saturation" : "brightness";
}

// The six boxes and the new-colour sample.
struct Readings {
    QString h, s, b, red, green, blue;
    int32_t sample;
    bool operator==(const Readings&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Readings& r)
{
    return os << "H '" << r.h.toStdString() << "' S '" << r.s.toStdString() << "' B '" << r.b.toStdString()
              << "' RGB " << r.red.toStdString() << "," << r.green.toStdString() << "," << r.blue.toStdString()
              << " sample " << std::hex << r.sample << std::dec;
}

inline Readings Read(const Form1& f)
{
    return {f.txtH->text(), f.txtS->text(), f.txtB->text(), f.txtRed->text(),
            f.txtGreen->text(), f.txtBlue->text(), f.lblSelColor->BackColor()};
}

// Field, frames, strip and marks all lie in columns 0..300, rows 0..274.
constexpr int AreaRight = 300;
constexpr int AreaBottom = Form1::ClientHeight - 1;

inline platform::Surface FreshSurface()
{
    return platform::Surface(Form1::ClientWidth, Form1::ClientHeight, app::SystemColorsFrom(QApplication::palette()),
                             app::WindowFont());
}

// The window's image with the ring and the marks drawn once more where the
// state says they stand. Inversion is a toggle, so this is the bare picker
// exactly when one ring and one pair of marks were showing there.
inline platform::Surface WithoutMarkers(const Form1& f)
{
    platform::Surface s = FreshSurface();
    const QImage& image = f.Surface().Image();
    for (int y = 0; y < s.Height(); ++y)
        std::memcpy(s.ScanLine(y), image.constScanLine(y), sizeof(uint32_t) * size_t(s.Width()));
    picker::DrawPicker(s, f.Picker.FieldX, f.Picker.FieldY);
    picker::DrawStripMarks(s, f.Picker.Geometry, picker::MarkRow(f.Picker.StripY));
    return s;
}

// The picker of the window's mode rendered on a fresh surface, without ring
// and marks: the hue mode's field for the strip colour at the marks, the
// other modes' strip for the field colour at the ring.
inline platform::Surface CleanPicker(const Form1& f)
{
    platform::Surface s = FreshSurface();
    picker::PickerState p;
    p.Geometry = color::MakePickerGeometry();
    picker::InitDibHeader(p.DibHeader);
    p.DibHeader.biWidth = 256;
    p.DibHeader.biHeight = 256;
    // Off the image, so the rings the renderers toggle draw nothing.
    p.FieldX = -100;
    p.FieldY = -100;
    const color::PickerGeometry& g = p.Geometry;
    int16_t red, green, blue;
    switch (ModeOf(f)) {
    case Mode::Hue:
        picker::DrawHueStrip(s, p);
        color::SplitColor(s.Point(g.StripLeft + 3, picker::MarkRow(f.Picker.StripY)), red, green, blue);
        picker::DrawHueField(s, p, red, green, blue);
        break;
    case Mode::Saturation:
        picker::DrawSatField(s, p);
        color::SplitColor(s.Point(f.Picker.FieldX, f.Picker.FieldY), red, green, blue);
        picker::DrawSatStrip(s, g, red, green, blue);
        break;
    case Mode::Brightness:
        picker::DrawBrightField(s, p);
        color::SplitColor(s.Point(f.Picker.FieldX, f.Picker.FieldY), red, green, blue);
        picker::DrawBrightStrip(s, g, red, green, blue);
        break;
    }
    return s;
}

// Every pixel of columns 0..AreaRight, all rows, must agree. A failure says
// how many differ, where, and how many of them lie around the ring or beside
// the strip, which usually names the culprit.
inline ::testing::AssertionResult SameArea(const platform::Surface& got, const platform::Surface& want,
                                           const Form1& f)
{
    long bad = 0, nearRing = 0, besideStrip = 0;
    int left = AreaRight, top = AreaBottom, right = -1, bottom = -1;
    std::string first;
    for (int y = 0; y <= AreaBottom; ++y) {
        const uint32_t* a = got.ScanLine(y);
        const uint32_t* b = want.ScanLine(y);
        for (int x = 0; x <= AreaRight; ++x) {
            if (((a[x] ^ b[x]) & 0xFFFFFFu) == 0)
                continue;
            if (bad++ < 3) {
                char buf[96];
                std::snprintf(buf, sizeof buf, " (%d,%d) is %06X not %06X;", x, y,
                              unsigned(platform::FromQRgb(a[x])), unsigned(platform::FromQRgb(b[x])));
                first += buf;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (std::abs(x - f.Picker.FieldX) <= 6 && std::abs(y - f.Picker.FieldY) <= 6)
                ++nearRing;
            if ((x >= 270 && x <= 275) || (x >= 293 && x <= 299))
                ++besideStrip;
        }
    }
    if (bad == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ in " << ModeName(ModeOf(f)) << " mode, within x "
                                         << left << ".." << right << ", y " << top << ".." << bottom << " ("
                                         << nearRing << " around the ring at " << f.Picker.FieldX << ","
                                         << f.Picker.FieldY << ", " << besideStrip << " beside the strip, StripY "
                                         << f.Picker.StripY << "):" << first;
}

inline ::testing::AssertionResult MarkersInside(const Form1& f)
{
    const color::PickerGeometry& g = f.Picker.Geometry;
    const auto& p = f.Picker;
    if (p.FieldX < g.FieldLeft || p.FieldX > g.FieldRight || p.FieldY < g.FieldTop || p.FieldY > g.FieldBottom)
        return ::testing::AssertionFailure() << "ring at " << p.FieldX << "," << p.FieldY << " outside the field";
    if (!(p.StripY >= float(g.StripTop) && p.StripY <= float(g.StripBottom)))
        return ::testing::AssertionFailure() << "StripY " << p.StripY << " outside the strip";
    return ::testing::AssertionSuccess();
}

// Exactly one ring and one pair of marks, standing where the state says,
// inside field and strip, on the picture the mode renders from scratch.
inline ::testing::AssertionResult PickerIsClean(const Form1& f)
{
    if (f.PresetMode != Form1::PresetPicker)
        return ::testing::AssertionFailure() << "a swatch panel is shown (PresetMode " << f.PresetMode << ")";
    const ::testing::AssertionResult inside = MarkersInside(f);
    if (!inside)
        return inside;
    return SameArea(WithoutMarkers(f), CleanPicker(f), f);
}

// The swatch panel shown holds the panel's cells and selection edge and
// nothing else: no picker leftovers.
inline ::testing::AssertionResult PanelIsClean(const Form1& f)
{
    platform::Surface s = FreshSurface();
    if (f.PresetMode == Form1::PresetCustom)
        swatches::PaintCustomColors(s, f.SafeCells, f.CustomColors, f.SelectedCell);
    else if (f.PresetMode == Form1::PresetSafe)
        swatches::DrawSafePalette(s, f.SafeCells, f.SelectedCell);
    else
        return ::testing::AssertionFailure() << "no panel shown (PresetMode " << f.PresetMode << ")";
    platform::Surface got = FreshSurface();
    const QImage& image = f.Surface().Image();
    for (int y = 0; y < got.Height(); ++y)
        std::memcpy(got.ScanLine(y), image.constScanLine(y), sizeof(uint32_t) * size_t(got.Width()));
    return SameArea(got, s, f);
}

} // namespace invariants
