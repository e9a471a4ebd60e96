#include "app/FrozenScreen.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace app {

namespace {

// The part of a screenshot of the whole desktop that shows `screen`; the
// whole image when it is not one of the whole desktop.
QImage PartShowing(const QImage& shot, const QScreen* screen)
{
    const double f = screen->devicePixelRatio();
    const QRect all = screen->virtualGeometry();
    const QSize allDevice(static_cast<int>(std::lround(all.width() * f)),
                          static_cast<int>(std::lround(all.height() * f)));
    if (shot.size() != allDevice || screen->virtualSiblings().size() < 2)
        return shot;
    const QRect g = screen->geometry().translated(-all.topLeft());
    return shot.copy(static_cast<int>(std::lround(g.x() * f)), static_cast<int>(std::lround(g.y() * f)),
                     static_cast<int>(std::lround(g.width() * f)), static_cast<int>(std::lround(g.height() * f)));
}

} // namespace

FrozenScreen::FrozenScreen(const QImage& shot, QScreen* screen)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      image_(PartShowing(shot, screen).convertToFormat(QImage::Format_ARGB32)), lens_(new Magnifier(this))
{
    setWindowTitle(QStringLiteral("Tinctara: pick from the screen"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setGeometry(screen->geometry());
    winId();
    windowHandle()->setScreen(screen);
}

double FrozenScreen::Scale() const
{
    return width() > 0 ? static_cast<double>(image_.width()) / width() : 1.0;
}

std::optional<QPoint> FrozenScreen::DevicePixel(const QPointF& global)
{
    if (image_.isNull())
        return std::nullopt;
    const QPointF at = (global - QPointF(geometry().topLeft())) * Scale() + QPointF(1e-6, 1e-6);
    return QPoint(std::clamp(static_cast<int>(std::floor(at.x())), 0, image_.width() - 1),
                  std::clamp(static_cast<int>(std::floor(at.y())), 0, image_.height() - 1));
}

QPointF FrozenScreen::LogicalOf(QPoint device)
{
    return QPointF(geometry().topLeft()) + QPointF(device) / Scale();
}

void FrozenScreen::PlaceLens(QPoint device)
{
    const QPoint local = (LogicalOf(device) - QPointF(geometry().topLeft())).toPoint();
    lens_->move(pick::PlaceMagnifier(local, lens_->size(), rect()));
    lens_->show();
}

void FrozenScreen::paintEvent(QPaintEvent*)
{
    // Without smoothing: at the image's own size each of its pixels is one
    // device pixel.
    QPainter p(this);
    p.drawImage(rect(), image_);
}

} // namespace app
