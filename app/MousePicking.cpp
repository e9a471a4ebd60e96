// Picking with the mouse: the drag routing of the client area and the two
// pick routines of field and strip.
#include <algorithm>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "color/NumberRules.h"

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
    return std::clamp(Y, static_cast<float>(g.StripTop), static_cast<float>(g.StripBottom));
}
} // namespace

bool Form1::NotLeftButton(int Button)
{
    return Button != LeftButton;
}

void Form1::Form_MouseDown(int Button, int, float X, float Y)
{
    if (NotLeftButton(Button))
        return;
    // While a swatch panel shows, a press picks there.
    if (panel_.Showing()) {
        PickSwatch(X, Y);
        return;
    }
    const color::PickerGeometry& g = view_.Geometry();
    const double x = X;
    const double y = Y;
    if (g.FieldLeft <= x && x <= g.FieldRight && g.FieldTop <= y && y <= g.FieldBottom) {
        FieldDrag = true;
        PickFieldColor(X, Y);
    }
    if (g.StripLeft <= x && x < g.StripRight + 11 && g.StripTop - 2 <= y && y < g.StripBottom + 3) {
        StripDrag = true;
        PickStripColor(StripRow(Y, g));
    }
}

void Form1::Form_MouseMove(int Button, int, float X, float Y)
{
    if (NotLeftButton(Button))
        return;
    if (panel_.Showing()) {
        PickSwatch(X, Y);
        return;
    }
    const color::PickerGeometry& g = view_.Geometry();
    if (FieldDrag) {
        PickFieldColor(std::clamp(X, static_cast<float>(g.FieldLeft), static_cast<float>(g.FieldRight)),
                       std::clamp(Y, static_cast<float>(g.FieldTop), static_cast<float>(g.FieldBottom)));
    }
    if (StripDrag)
        PickStripColor(StripRow(Y, g));
}

void Form1::Form_MouseUp(int, int, float, float)
{
    FieldDrag = false;
    // A panel opened during the drag (by its mnemonic) owns the surface now;
    // the picker is rendered afresh when it comes back.
    if (StripDrag && IsHueMode() && !panel_.Showing()) {
        // The field follows the hue only now, once, not on every drag step.
        int16_t red, green, blue;
        color::SplitColor(view_.StripColor(), red, green, blue);
        DrawHueField(red, green, blue);
        ShowFieldColor();
    }
    StripDrag = false;
}

void Form1::PickFieldColor(float X, float Y)
{
    const color::PickerGeometry& g = view_.Geometry();
    view_.MoveRing(Whole(X), Whole(Y));
    int32_t c = view_.PointAt(X, Y);
    if (IsHueMode()) {
        SetBoxText(txtS, color::FieldXToSaturation(view_.FieldX(), g));
        SetBoxText(txtB, color::FieldYToBrightness(view_.FieldY(), g));
    } else {
        int16_t red, green, blue;
        color::SplitColor(c, red, green, blue);
        view_.DrawRampStrip(red, green, blue);
        if (IsSaturationMode())
            SetBoxText(txtB, color::FieldYToBrightness(view_.FieldY(), g));
        else
            SetBoxText(txtS, color::FieldYToSaturation(view_.FieldY(), g));
        SetBoxText(txtH, color::FieldXToHue(view_.FieldX(), g));
        // In these modes the colour is the strip's, at the strip row.
        c = view_.StripColor();
    }
    ShowNewColor(c);
}

void Form1::PickStripColor(float Y)
{
    const color::PickerGeometry& g = view_.Geometry();
    view_.MoveStripMarks(Y);
    if (IsHueMode()) {
        // The field is not rendered during the drag: the sample follows by
        // arithmetic, and R, G, B wait for the release.
        SetBoxText(txtH, color::StripYToHue(Y, g));
        MixHueColor(color::PercentForMix(BoxValue(txtS)), color::PercentForMix(BoxValue(txtB)));
        return;
    }
    ShowNewColor(view_.StripColor());
    if (IsSaturationMode())
        SetBoxText(txtS, color::StripYToPercent(Y, g));
    else
        SetBoxText(txtB, color::StripYToPercent(Y, g));
}

void Form1::MixHueColor(int16_t S, int16_t B)
{
    int16_t red, green, blue;
    color::SplitColor(view_.StripColor(), red, green, blue);
    lblSelColor->SetBackColor(color::HueMix(red, green, blue, S, B));
}
