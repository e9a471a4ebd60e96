#pragma once
#include <cstdint>

#include <QFont>

#include "color/PickerGeometry.h"
#include "picker/PickerState.h"
#include "platform/Surface.h"

namespace picker {

// Which value the strip stands for; the field shows the other two.
enum class PickerMode { Hue, Saturation, Brightness };

// The picker on the window's surface: the field and the strip rendered for
// the set mode, the ring and the strip marks, and where they stand. It knows
// nothing of the controls around it; the window says when to draw what.
class PickerView {
public:
    // The surface covers the whole client area, of which the picker is a part.
    PickerView(int width, int height, const platform::SystemColors& colors, const QFont& font);

    platform::Surface& Surface() { return surface_; }
    const platform::Surface& Surface() const { return surface_; }
    const PickerState& State() const { return state_; }
    const color::PickerGeometry& Geometry() const { return state_.Geometry; }
    int32_t FieldX() const { return state_.FieldX; }
    int32_t FieldY() const { return state_.FieldY; }
    float StripY() const { return state_.StripY; }

    PickerMode Mode() const { return mode_; }
    void SetMode(PickerMode mode) { mode_ = mode; }

    // The shared bitmap header and the geometry, before anything is drawn.
    void SetUp();
    // Puts ring and marks at a place without drawing them (the start).
    void Place(int32_t fieldX, int32_t fieldY, float stripY);

    // The markers are drawn inverted: drawing one again erases it, so a move
    // draws at the old place and then at the new one.
    void DrawPicker();
    void DrawStripMarks();
    void MoveRing(int32_t x, int32_t y);
    void MoveStripMarks(float y);

    void DrawHueStrip();
    void DrawHueField(int16_t red, int16_t green, int16_t blue);
    // The field of saturation or brightness mode, whichever is set.
    void DrawRampField();
    // The strip of saturation or brightness mode, whichever is set, from
    // the given colour.
    void DrawRampStrip(int16_t red, int16_t green, int16_t blue);
    void DrawSelFrame();
    void DrawMainFrame();

    // The pixel nearest to a client position (fractional rows round to the
    // nearest, ties to even); -1 outside the image.
    int32_t PointAt(double x, double y) const;
    // The colour under the ring.
    int32_t RingColor() const { return PointAt(state_.FieldX, state_.FieldY); }
    // The colour the strip shows at its marks. Every strip row is one colour
    // across the strip's width, so any of its columns will do; the one used
    // lies well inside the frame.
    int32_t StripColor() const { return PointAt(state_.Geometry.StripLeft + 5, state_.StripY); }

private:
    platform::Surface surface_;
    PickerState state_;
    PickerMode mode_ = PickerMode::Hue;
};

} // namespace picker
