#pragma once
#include <QImage>
#include <QWidget>

#include "app/Magnifier.h"
#include "app/PixelSource.h"

class QScreen;

namespace app {

// A screenshot shown still over a whole screen, for desktops where a
// program may not read the screen itself: the pick aims at its pixels, one
// device pixel of the image at a time, with the magnifier inside it.
class FrozenScreen : public QWidget, public PixelSource {
public:
    FrozenScreen(const QImage& shot, QScreen* screen);

    Magnifier* Lens() { return lens_; }
    // Puts the magnifier beside the image's device pixel `device`.
    void PlaceLens(QPoint device);

    std::optional<QPoint> DevicePixel(const QPointF& global) override;
    QRect DeviceArea(QPoint) override { return image_.rect(); }
    QImage Read(const QRect& area) override { return image_.copy(area); }
    // A program may not move the pointer here; the pick moves alone.
    void PointAt(QPoint) override {}
    QPointF LogicalOf(QPoint device) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Image pixels per logical pixel of the window.
    double Scale() const;
    QImage image_;
    Magnifier* lens_;
};

} // namespace app
