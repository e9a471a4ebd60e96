#include "picker/PickerView.h"

#include "color/NumberRules.h"
#include "picker/Frames.h"
#include "picker/HueField.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"

namespace picker {

PickerView::PickerView(int width, int height, const platform::SystemColors& colors, const QFont& font)
    : surface_(width, height, colors, font)
{
}

void PickerView::SetUp()
{
    InitDibHeader(state_.DibHeader);
    state_.Geometry = color::MakePickerGeometry();
}

void PickerView::Place(int32_t fieldX, int32_t fieldY, float stripY)
{
    state_.FieldX = fieldX;
    state_.FieldY = fieldY;
    state_.StripY = stripY;
}

void PickerView::DrawPicker()
{
    picker::DrawPicker(surface_, state_.FieldX, state_.FieldY);
}

void PickerView::DrawStripMarks()
{
    picker::DrawStripMarks(surface_, state_.Geometry, MarkRow(state_.StripY));
}

void PickerView::MoveRing(int32_t x, int32_t y)
{
    DrawPicker();
    state_.FieldX = x;
    state_.FieldY = y;
    DrawPicker();
}

void PickerView::MoveStripMarks(float y)
{
    DrawStripMarks();
    state_.StripY = y;
    DrawStripMarks();
}

void PickerView::DrawHueStrip()
{
    picker::DrawHueStrip(surface_, state_);
}

void PickerView::DrawHueField(int16_t red, int16_t green, int16_t blue)
{
    picker::DrawHueField(surface_, state_, red, green, blue);
}

void PickerView::DrawRampField()
{
    if (mode_ == PickerMode::Saturation)
        DrawSatField(surface_, state_);
    else
        DrawBrightField(surface_, state_);
}

void PickerView::DrawRampStrip(int16_t red, int16_t green, int16_t blue)
{
    if (mode_ == PickerMode::Saturation)
        DrawSatStrip(surface_, state_.Geometry, red, green, blue);
    else
        DrawBrightStrip(surface_, state_.Geometry, red, green, blue);
}

void PickerView::DrawSelFrame()
{
    picker::DrawSelFrame(surface_, state_.Geometry);
}

void PickerView::DrawMainFrame()
{
    picker::DrawMainFrame(surface_, state_.Geometry);
}

int32_t PickerView::PointAt(double x, double y) const
{
    const auto column = color::RoundToInt32(x);
    const auto row = color::RoundToInt32(y);
    if (!column || !row)
        return -1;
    return surface_.Point(*column, *row);
}

} // namespace picker
