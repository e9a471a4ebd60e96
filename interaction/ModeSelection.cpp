// The H, S and B option buttons: each renders field and strip for its mode
// and puts the markers where the boxes say.
#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/Mappings.h"
#include "picker/BrightField.h"
#include "picker/HueField.h"
#include "picker/Markers.h"
#include "picker/SatField.h"

void Form1::optH_Click()
{
    const color::PickerGeometry& g = Picker.Geometry;
    DrawHueStrip();
    picker::DrawStripMarks(Surface(), g, picker::MarkRow(Picker.StripY));
    Picker.StripY = color::HueToStripYFloored(BoxValue(txtH), g);
    picker::DrawStripMarks(Surface(), g, picker::MarkRow(Picker.StripY));
    int16_t red, green, blue;
    color::SplitColor(PointAt(g.StripLeft + 3, Picker.StripY), red, green, blue);
    DrawHueField(red, green, blue);
    DrawPicker();
    Picker.FieldX = color::SaturationToFieldX(BoxValue(txtS), g);
    Picker.FieldY = color::BrightnessToFieldY(BoxValue(txtB), g);
    DrawPicker();
    lblSelColor->SetBackColor(PointAt(Picker.FieldX, Picker.FieldY));
}

void Form1::optS_Click()
{
    const color::PickerGeometry& g = Picker.Geometry;
    picker::DrawSatField(Surface(), Picker);
    DrawPicker();
    Picker.FieldX = color::HueToFieldX(BoxValue(txtH), g);
    Picker.FieldY = color::BrightnessToFieldY(BoxValue(txtB), g);
    DrawPicker();
    int16_t red, green, blue;
    color::SplitColor(PointAt(Picker.FieldX, Picker.FieldY), red, green, blue);
    DrawSatStrip(red, green, blue);
    MoveStripMarksTo(BoxValue(txtS));
}

void Form1::optB_Click()
{
    const color::PickerGeometry& g = Picker.Geometry;
    picker::DrawBrightField(Surface(), Picker);
    DrawPicker();
    Picker.FieldX = color::HueToFieldX(BoxValue(txtH), g);
    Picker.FieldY = color::SaturationToFieldY(BoxValue(txtS), g);
    DrawPicker();
    int16_t red, green, blue;
    color::SplitColor(PointAt(Picker.FieldX, Picker.FieldY), red, green, blue);
    DrawBrightStrip(red, green, blue);
    MoveStripMarksTo(BoxValue(txtB));
}

void Form1::MoveStripMarksTo(double percent)
{
    // The strip of these modes stands for the S or B box; without this the
    // first pick after a switch would read the strip wherever the marks were
    // left in the previous mode.
    const color::PickerGeometry& g = Picker.Geometry;
    picker::DrawStripMarks(Surface(), g, picker::MarkRow(Picker.StripY));
    Picker.StripY = color::PercentToStripY(percent, g);
    picker::DrawStripMarks(Surface(), g, picker::MarkRow(Picker.StripY));
}

void Form1::DrawSatStrip(const int16_t& red, const int16_t& green, const int16_t& blue)
{
    picker::DrawSatStrip(Surface(), Picker.Geometry, red, green, blue);
}

void Form1::DrawBrightStrip(const int16_t& red, const int16_t& green, const int16_t& blue)
{
    picker::DrawBrightStrip(Surface(), Picker.Geometry, red, green, blue);
}
