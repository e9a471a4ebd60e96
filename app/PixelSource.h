#pragma once
#include <optional>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

namespace app {

// Where a pick from the screen reads its pixels: the live screen, or a
// screenshot held still. Positions are device pixels, so at any scale
// factor a nudge moves by one pixel of what is read.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    // The device pixel under a pointer at this global position (logical
    // pixels, unrounded); none off every screen.
    virtual std::optional<QPoint> DevicePixel(const QPointF& global) = 0;
    // The device pixels a pick at `device` may be moved over: its screen.
    virtual QRect DeviceArea(QPoint device) = 0;
    // The pixels of `area` (device pixels) as an ARGB32 image of its size;
    // those that could not be read are transparent. Only `area` is read.
    virtual QImage Read(const QRect& area) = 0;
    // Puts the pointer over `device` where the desktop lets a program.
    virtual void PointAt(QPoint device) = 0;
    // The global logical position of `device`, to place the magnifier.
    virtual QPointF LogicalOf(QPoint device) = 0;
};

} // namespace app
