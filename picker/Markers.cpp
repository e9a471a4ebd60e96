#include "picker/Markers.h"

#include <cmath>
#include <limits>

#include "color/NumberRules.h"

namespace picker {

void DrawPicker(platform::Surface& s, int32_t FieldX, int32_t FieldY)
{
    s.DrawMode = platform::DRAWMODE_INVERT;
    s.FillStyle = platform::FILLSTYLE_TRANSPARENT;
    s.DrawWidth = 1;
    s.DrawStyle = 0;
    s.Circle(FieldX, FieldY, RingRadius);
}

void DrawStripMarks(platform::Surface& s, const color::PickerGeometry& g, int16_t y)
{
    s.DrawMode = platform::DRAWMODE_INVERT;
    s.DrawWidth = 2;
    s.Line(g.StripRight + 2, y, g.StripRight + 5, y);
    s.Line(g.StripLeft - 2, y, g.StripLeft - 5, y);
    s.DrawWidth = 1;
}

int16_t MarkRow(float StripY)
{
    constexpr float lo = std::numeric_limits<int16_t>::min();
    constexpr float hi = std::numeric_limits<int16_t>::max();
    // A position that is not a number has no row; row 0 lies above the
    // strip, so the marks at least stay off it.
    if (std::isnan(StripY))
        return 0;
    const float r = color::RoundHalfEven(StripY);
    if (r <= lo)
        return std::numeric_limits<int16_t>::min();
    if (r >= hi)
        return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(r);
}

} // namespace picker
