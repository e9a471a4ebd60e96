#include "picker/Frames.h"

namespace picker {

// The field frame leaves a one-pixel gap on the right and bottom; the strip
// frame hugs the strip on three sides.
platform::RECT FieldFrameRect(const color::PickerGeometry& g)
{
    return {g.FieldLeft - 1, g.FieldTop - 1, g.FieldRight + 3, g.FieldBottom + 3};
}

platform::RECT StripFrameRect(const color::PickerGeometry& g)
{
    return {g.StripLeft - 1, g.StripTop - 1, g.StripRight + 1, g.StripBottom + 3};
}

void DrawSelFrame(platform::Surface& s, const color::PickerGeometry& g)
{
    s.DrawEdge(FieldFrameRect(g), platform::BDR_SUNKENINNER, platform::BF_RECT);
    s.Refresh();
}

void DrawMainFrame(platform::Surface& s, const color::PickerGeometry& g)
{
    s.DrawEdge(StripFrameRect(g), platform::BDR_SUNKENINNER, platform::BF_RECT);
    s.Refresh();
}

} // namespace picker
