#pragma once
#include <cstdint>
#include <vector>

#include "platform/Surface.h"
#include "tests/support/Picture.h"

// The picker as it must look: field, strip, frames, ring and marks.
namespace expected {

constexpr int ClientWidth = 434;
constexpr int ClientHeight = 275;
// The field's pixels and the strip's columns and rows, every bound
// included. (The program's own StripRight, 292, is one past the strip.)
constexpr int FieldLeft = 10, FieldTop = 10, FieldRight = 265, FieldBottom = 265;
constexpr int StripLeft = 277, StripLastColumn = 291, StripTop = 10, StripBottom = 265;
// The picker part of the client area, left of the frames and controls:
// columns 0..301, every row. Field, strip, frames and marks lie inside.
constexpr Box PickerRegion{0, 0, 302, ClientHeight};
// The sunken frames one pixel outside each, leaving a gap of two at the
// field's right and bottom and of one at the strip's right.
constexpr Box FieldFrame{9, 9, 268, 268};
constexpr Box StripFrame{276, 9, 293, 268};

enum class Mode { Hue, Saturation, Brightness };

// Hue mode: channel of the field at field column i, row k (0..255) for the
// pure-hue channel C: the nearest integer to (255 - k)(65025 - i(255 - C))
// / 65025, which is never a half (65025 is odd). C may lie outside a byte.
int HueFieldChannel(int C, int i, int k);
// The field for the pure hue `hue` at client (x, y).
int32_t HueFieldPixel(int32_t hue, int x, int y);
// The spectrum at strip line i (client row 10 + i): six linear ramps from
// red at the top through magenta, blue, cyan, green and yellow to red.
int32_t HueStripRow(int i);

// Saturation mode: hue across, brightness down at full saturation;
// brightness mode: hue across, saturation down at full brightness.
int32_t SatFieldPixel(int x, int y);
int32_t BrightFieldPixel(int x, int y);
// Their strips, line i: from `base` towards white (saturation mode) or
// black (brightness mode).
int32_t SatStripLine(int32_t base, int i);
int32_t BrightStripLine(int32_t base, int i);

// The field and strip of a mode; `hue` is the hue mode's pure hue, `base`
// the strip colour of the other modes.
int32_t FieldPixel(Mode m, int x, int y, int32_t hue = 0);
int32_t StripLine(Mode m, int32_t base, int i);

template <class F>
void PaintField(Picture& p, F pixelAt)
{
    for (int y = FieldTop; y <= FieldBottom; ++y)
        for (int x = FieldLeft; x <= FieldRight; ++x)
            p.Set(x, y, pixelAt(x, y));
}

template <class F>
void PaintStrip(Picture& p, F lineColor)
{
    for (int i = 0; i <= StripBottom - StripTop; ++i)
        for (int x = StripLeft; x <= StripLastColumn; ++x)
            p.Set(x, StripTop + i, lineColor(i));
}

// A sunken one-pixel edge along the inside of `box`: left and top in
// `dark`, right and bottom in `light`, which own the corners they share.
void PaintSunkenInner(Picture& p, const Box& box, int32_t dark, int32_t light);
// The two-pixel sunken edge: shadow and highlight along the inside of
// `box`, dark shadow and light one pixel further in.
void PaintSunkenEdge(Picture& p, const Box& box, const platform::SystemColors& colors);
// The frames of field and strip, dark shadow and light.
void PaintPickerFrames(Picture& p, const platform::SystemColors& colors);

// Whether (dx, dy) from the centre lies on the outline of a circle of
// radius r: in each row y of the first octant the last column x with
// x^2 - x + y^2 < r^2 (while x >= y), mirrored eight ways.
bool OnCircle(long long r, long long dx, long long dy);
struct Offset {
    int dx, dy;
};
// The ring's pixels around its centre: a circle of radius 5.
const std::vector<Offset>& RingOffsets();
void InvertRing(Picture& p, int cx, int cy);
// The strip marks at `row`: columns 272..275 and 294..297, two pixels
// high, the row above and the row itself.
void InvertMarks(Picture& p, int row);
// The row marks stand on for a strip position: nearest, ties to even.
int MarkRowOf(float stripY);

// What the picker area shows: a mode's field and strip with their frames,
// the ring at its centre and the marks at their row, on the background.
struct PickerScene {
    Mode mode = Mode::Hue;
    int32_t hue = Rgb(255, 0, 0); // hue mode: the pure hue the field shows
    int ringX = FieldRight;
    int ringY = FieldTop;
    int markRow = StripBottom;
};
// The field's colour at the ring's centre, which the ring spares.
int32_t ColorUnderRing(const PickerScene& scene);
// The strip's colour on the marks' row.
int32_t StripColorAtMarks(const PickerScene& scene);
// The whole client area's drawing surface.
Picture PickerPicture(const PickerScene& scene, const platform::SystemColors& colors);

} // namespace expected
