// Typed hue, saturation and brightness. In hue mode they move the picker;
// only the hue is checked.
#include <cmath>

#include <QMessageBox>
#include <QTimer>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "color/NumberRules.h"

bool Form1::HueCheck()
{
    if (color::IsValidHue(BoxValue(txtH)))
        return true;
    // One message at a time: while it is up, nothing else may ask again.
    if (hueMessageShown_)
        return false;
    hueMessageShown_ = true;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tinctara"),
                    QStringLiteral("Enter an Integer Value Between 0 and 360"), QMessageBox::Ok, this);
    box.exec();
    hueMessageShown_ = false;
    return false;
}

void Form1::txtH_KeyUp(int, int)
{
    HueCheck();
    if (BoxValue(txtH) < 0)
        txtH->setText(QStringLiteral("0"));
    if (StripDrag || !IsHueMode())
        return;
    // Clamped into the strip: a hue above 360 leaves the marks at the top.
    view_.MoveStripMarks(color::HueToStripY(BoxValue(txtH), view_.Geometry()));
    int16_t red, green, blue;
    color::SplitColor(view_.StripColor(), red, green, blue);
    DrawHueField(red, green, blue);
    ShowFieldColor();
}

void Form1::txtH_LostFocus()
{
    if (HueCheck())
        return;
    txtH->setFocus(Qt::OtherFocusReason);
}

void Form1::txtS_KeyUp(int, int)
{
    if (!IsHueMode())
        return;
    view_.MoveRing(color::SaturationToFieldX(BoxValue(txtS), view_.Geometry()), view_.FieldY());
    ShowFieldColor();
}

void Form1::txtB_KeyUp(int, int)
{
    if (!IsHueMode())
        return;
    view_.MoveRing(view_.FieldX(), color::BrightnessToFieldY(BoxValue(txtB), view_.Geometry()));
    ShowFieldColor();
}

void Form1::ShowFieldColor()
{
    ShowNewColor(view_.RingColor());
}
