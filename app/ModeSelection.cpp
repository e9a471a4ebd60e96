// The H, S and B option buttons: each renders field and strip for its mode
// and puts the markers where the boxes say.
#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"

void Form1::optH_Click()
{
    view_.SetMode(picker::PickerMode::Hue);
    const color::PickerGeometry& g = view_.Geometry();
    DrawHueStrip();
    view_.MoveStripMarks(color::HueToStripYFloored(BoxValue(txtH), g));
    int16_t red, green, blue;
    color::SplitColor(view_.StripColor(), red, green, blue);
    DrawHueField(red, green, blue);
    view_.MoveRing(color::SaturationToFieldX(BoxValue(txtS), g), color::BrightnessToFieldY(BoxValue(txtB), g));
    lblSelColor->SetBackColor(view_.RingColor());
}

void Form1::optS_Click()
{
    view_.SetMode(picker::PickerMode::Saturation);
    ShowRampMode();
}

void Form1::optB_Click()
{
    view_.SetMode(picker::PickerMode::Brightness);
    ShowRampMode();
}

void Form1::ShowRampMode()
{
    // All hues across the field and the other of saturation and brightness
    // down it; the strip is the ramp of the colour under the ring, so it
    // comes last, once the ring stands where the boxes say.
    const color::PickerGeometry& g = view_.Geometry();
    const bool saturation = IsSaturationMode();
    view_.DrawRampField();
    view_.MoveRing(color::HueToFieldX(BoxValue(txtH), g), saturation ? color::BrightnessToFieldY(BoxValue(txtB), g)
                                                                     : color::SaturationToFieldY(BoxValue(txtS), g));
    int16_t red, green, blue;
    color::SplitColor(view_.RingColor(), red, green, blue);
    view_.DrawRampStrip(red, green, blue);
    // The strip of these modes stands for the S or B box; without this the
    // first pick after a switch would read the strip wherever the marks were
    // left in the previous mode.
    view_.MoveStripMarks(color::PercentToStripY(BoxValue(saturation ? txtS : txtB), g));
}
