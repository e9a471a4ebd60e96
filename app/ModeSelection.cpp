// The H, S and B option buttons: each renders field and strip for its mode
// and puts the markers where the boxes say.
#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "picker/HueField.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"

void Form1::optH_Click()
{
    const color::PickerGeometry& g = Picker.Geometry;
    DrawHueStrip();
    MoveStripMarks(color::HueToStripYFloored(BoxValue(txtH), g));
    int16_t red, green, blue;
    color::SplitColor(PointAt(g.StripLeft + 3, Picker.StripY), red, green, blue);
    DrawHueField(red, green, blue);
    MoveRing(color::SaturationToFieldX(BoxValue(txtS), g), color::BrightnessToFieldY(BoxValue(txtB), g));
    lblSelColor->SetBackColor(PointAt(Picker.FieldX, Picker.FieldY));
}

void Form1::optS_Click()
{
    ShowRampMode(true);
}

void Form1::optB_Click()
{
    ShowRampMode(false);
}

void Form1::ShowRampMode(bool saturation)
{
    // All hues across the field and the other of saturation and brightness
    // down it; the strip is the ramp of the colour under the ring, so it
    // comes last, once the ring stands where the boxes say.
    const color::PickerGeometry& g = Picker.Geometry;
    if (saturation)
        picker::DrawSatField(Surface(), Picker);
    else
        picker::DrawBrightField(Surface(), Picker);
    MoveRing(color::HueToFieldX(BoxValue(txtH), g), saturation ? color::BrightnessToFieldY(BoxValue(txtB), g)
                                                               : color::SaturationToFieldY(BoxValue(txtS), g));
    int16_t red, green, blue;
    color::SplitColor(PointAt(Picker.FieldX, Picker.FieldY), red, green, blue);
    DrawRampStrip(red, green, blue);
    // The strip of these modes stands for the S or B box; without this the
    // first pick after a switch would read the strip wherever the marks were
    // left in the previous mode.
    MoveStripMarks(color::PercentToStripY(BoxValue(saturation ? txtS : txtB), g));
}

void Form1::DrawRampStrip(int16_t red, int16_t green, int16_t blue)
{
    if (IsSaturationMode())
        picker::DrawSatStrip(Surface(), Picker.Geometry, red, green, blue);
    else
        picker::DrawBrightStrip(Surface(), Picker.Geometry, red, green, blue);
}
