// Picking with the mouse: the drag routing of the client area and the two
// pick routines of field and strip.
#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "color/NumberRules.h"
#include "picker/Markers.h"

namespace {
constexpr int LeftButton = 1;

int32_t Whole(float v)
{
    // Callers clamp into the picker first, so this always fits.
    return color::RoundToInt32(v).value_or(0);
}

// A row of the strip: below its bottom it is the bottom, above its top the top.
float StripRow(float Y, const color::PickerGeometry& g)
{
    if (Y > g.StripBottom)
        Y = static_cast<float>(g.StripBottom);
    if (Y < g.StripTop)
        Y = static_cast<float>(g.StripTop);
    return Y;
}
} // namespace

bool Form1::NotForThePicker(int Button, float X, float Y)
{
    if (Button != LeftButton)
        return true;
    if (PresetMode == PresetPicker)
        return false;
    PickSwatch(X, Y, PresetMode);
    return true;
}

void Form1::Form_MouseDown(int Button, int, float X, float Y)
{
    if (NotForThePicker(Button, X, Y))
        return;
    const color::PickerGeometry& g = Picker.Geometry;
    const double x = X;
    const double y = Y;
    if (g.FieldLeft <= x && x <= g.FieldRight && g.FieldTop <= y && y <= g.FieldBottom) {
        FieldDrag = true;
        PickFieldColor(X, Y);
    }
    if (g.StripLeft <= x && x < g.StripRight + 11 && g.StripTop - 2 <= y && y < g.StripBottom + 3) {
        StripDrag = true;
        Y = StripRow(Y, g);
        PickStripColor(X, Y);
    }
}

void Form1::Form_MouseMove(int Button, int, float X, float Y)
{
    if (NotForThePicker(Button, X, Y))
        return;
    const color::PickerGeometry& g = Picker.Geometry;
    if (FieldDrag) {
        X = std::clamp(X, static_cast<float>(g.FieldLeft), static_cast<float>(g.FieldRight));
        Y = std::clamp(Y, static_cast<float>(g.FieldTop), static_cast<float>(g.FieldBottom));
        PickFieldColor(X, Y);
    }
    if (StripDrag) {
        X = static_cast<float>(g.StripLeft + 2);
        Y = StripRow(Y, g);
        PickStripColor(X, Y);
    }
}

void Form1::Form_MouseUp(int, int, float, float)
{
    FieldDrag = false;
    // A panel opened during the drag (by its mnemonic) owns the surface now;
    // the picker is rendered afresh when it comes back.
    if (StripDrag && IsHueMode() && PresetMode == PresetPicker) {
        // The field follows the hue only now, once, not on every drag step.
        const int32_t c = Surface().GetPixel(Picker.Geometry.StripLeft + 3, picker::MarkRow(Picker.StripY));
        int16_t red, green, blue;
        color::SplitColor(c, red, green, blue);
        DrawHueField(red, green, blue);
        ShowFieldColor();
    }
    StripDrag = false;
}

void Form1::PickFieldColor(float& X, float& Y)
{
    const color::PickerGeometry& g = Picker.Geometry;
    MoveRing(Whole(X), Whole(Y));
    int32_t c = PointAt(X, Y);
    if (IsHueMode()) {
        SetBoxText(txtS, color::FieldXToSaturation(Picker.FieldX, g));
        SetBoxText(txtB, color::FieldYToBrightness(Picker.FieldY, g));
    } else {
        int16_t red, green, blue;
        color::SplitColor(c, red, green, blue);
        DrawRampStrip(red, green, blue);
        if (IsSaturationMode())
            SetBoxText(txtB, color::FieldYToBrightness(Picker.FieldY, g));
        else
            SetBoxText(txtS, color::FieldYToSaturation(Picker.FieldY, g));
        SetBoxText(txtH, color::FieldXToHue(Picker.FieldX, g));
        // In these modes the colour is the strip's, at the strip row.
        c = PointAt(g.StripLeft + 5, Picker.StripY);
    }
    ShowChannels(c);
    lblSelColor->SetBackColor(c);
}

void Form1::PickStripColor(float&, float& Y)
{
    const color::PickerGeometry& g = Picker.Geometry;
    MoveStripMarks(Y);
    if (IsHueMode()) {
        // The field is not rendered during the drag: the sample follows by
        // arithmetic, and R, G, B wait for the release.
        SetBoxText(txtH, color::StripYToHue(Y, g));
        MixHueColor(color::PercentForMix(BoxValue(txtS)), color::PercentForMix(BoxValue(txtB)));
        return;
    }
    const int32_t c = PointAt(g.StripLeft + 5, Y);
    ShowChannels(c);
    lblSelColor->SetBackColor(c);
    if (IsSaturationMode())
        SetBoxText(txtS, color::StripYToPercent(Y, g));
    else
        SetBoxText(txtB, color::StripYToPercent(Y, g));
}

void Form1::MixHueColor(int16_t S, int16_t B)
{
    int16_t red, green, blue;
    color::SplitColor(PointAt(Picker.Geometry.StripLeft + 5, Picker.StripY), red, green, blue);
    lblSelColor->SetBackColor(color::HueMix(red, green, blue, S, B));
}
