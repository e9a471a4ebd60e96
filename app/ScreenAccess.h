#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>

#include "app/PixelSource.h"

class QWindow;

namespace app {

// What picking a colour from the screen needs from the desktop: the pointer
// and keyboard held for one window, and the pixels the screen shows. The
// real one reads the screen where a program may (X11); the widget tests put
// their own in its place.
class ScreenAccess : public PixelSource {
public:
    // Whether this program may read the screen here; where it may not, the
    // desktop's own picker is asked through its portal.
    virtual bool CanReadScreen() const = 0;
    // Sends every pointer and key event to `window`, with a cross pointer
    // over the whole screen. Empty when done; otherwise why not, and nothing
    // is held.
    virtual QString Grab(QWindow* window) = 0;
    virtual void Release(QWindow* window) = 0;
    // The colour value (0x00BBGGRR) of the device pixel under a pointer at
    // this global position (logical pixels, unrounded); none off the screens.
    virtual std::optional<int32_t> PixelAt(const QPointF& global) = 0;

    // A screen that only answers PixelAt: one device pixel per logical
    // pixel, no edge but where PixelAt reads nothing, a pointer that stays.
    std::optional<QPoint> DevicePixel(const QPointF& global) override;
    QRect DeviceArea(QPoint device) override;
    QImage Read(const QRect& area) override;
    void PointAt(QPoint) override {}
    QPointF LogicalOf(QPoint device) override { return QPointF(device); }
};

// The desktop this program runs on.
std::unique_ptr<ScreenAccess> DesktopScreen();

// The screen can only be grabbed in whole logical pixels, which at a scale
// factor of 2 or 1.5 cover several device pixels; one device pixel is read
// by grabbing the 2 x 2 logical pixels from `logical` on and taking the
// pixel at `offset` in the grabbed image.
struct PixelGrab {
    QPoint logical;
    QPoint offset;
};

// `position`: the pointer from its screen's top-left corner, in logical
// pixels; `factor`: device pixels per logical pixel; `logicalSize`: the
// screen's size in logical pixels (at least 2 x 2).
PixelGrab PlanPixelGrab(QPointF position, double factor, QSize logicalSize);

} // namespace app
