#pragma once
#include <ostream>

#include <gtest/gtest.h>

#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "tests/support/Compare.h"
#include "tests/support/Palette.h"
#include "tests/support/Picker.h"
#include "tests/support/Swatches.h"

// What must hold of the picker whatever happened before: one ring, one pair
// of strip marks, and under them exactly what the mode shows from scratch.
namespace invariants {

using expected::Mode;

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

// What the window's state says the picker shows: the ring and the marks
// where they stand, the hue mode's field for the strip colour at the marks,
// the other modes' strip for the field colour at the ring.
inline expected::PickerScene SceneOf(const Form1& f)
{
    expected::PickerScene scene;
    scene.mode = ModeOf(f);
    scene.ringX = f.View().FieldX();
    scene.ringY = f.View().FieldY();
    scene.markRow = expected::MarkRowOf(f.View().StripY());
    scene.hue = expected::HueStripRow(scene.markRow - expected::StripTop);
    return scene;
}

// Field, frames, strip and marks all lie in the picker region.
constexpr expected::Box PickerArea = expected::PickerRegion;

inline ::testing::AssertionResult MarkersInside(const Form1& f)
{
    const auto& p = f.View().State();
    if (p.FieldX < expected::FieldLeft || p.FieldX > expected::FieldRight || p.FieldY < expected::FieldTop ||
        p.FieldY > expected::FieldBottom)
        return ::testing::AssertionFailure() << "ring at " << p.FieldX << "," << p.FieldY << " outside the field";
    if (!(p.StripY >= float(expected::StripTop) && p.StripY <= float(expected::StripBottom)))
        return ::testing::AssertionFailure() << "StripY " << p.StripY << " outside the strip";
    return ::testing::AssertionSuccess();
}

// Exactly one ring and one pair of marks, standing where the state says,
// inside field and strip, on the picture the mode shows from scratch.
inline ::testing::AssertionResult PickerIsClean(const Form1& f)
{
    if (f.Panel().PresetMode() != Form1::PresetPicker)
        return ::testing::AssertionFailure() << "a swatch panel is shown (PresetMode " << f.Panel().PresetMode() << ")";
    const ::testing::AssertionResult inside = MarkersInside(f);
    if (!inside)
        return inside;
    const expected::Picture want = expected::PickerPicture(SceneOf(f), expected::PaletteColors());
    ::testing::AssertionResult same = expected::SameRegion(f.Surface(), want, PickerArea);
    if (!same)
        same << " (" << ModeName(ModeOf(f)) << " mode, ring at " << f.View().FieldX() << "," << f.View().FieldY()
             << ", StripY " << f.View().StripY() << ")";
    return same;
}

// The swatch panel shown holds the panel's cells and selection edge and
// nothing else: no picker leftovers.
inline ::testing::AssertionResult PanelIsClean(const Form1& f)
{
    const platform::SystemColors colors = expected::PaletteColors();
    if (f.Panel().PresetMode() == Form1::PresetCustom)
        return expected::SameRegion(
            f.Surface(), expected::PanelPicture([&](int k) { return f.Panel().CustomColors()[k]; }, f.Panel().SelectedCell(), colors),
            PickerArea);
    if (f.Panel().PresetMode() == Form1::PresetSafe)
        return expected::SameRegion(f.Surface(), expected::SafePanelPicture(f.Panel().SelectedCell(), colors), PickerArea);
    return ::testing::AssertionFailure() << "no panel shown (PresetMode " << f.Panel().PresetMode() << ")";
}

} // namespace invariants
