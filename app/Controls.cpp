#include "app/Controls.h"

#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/Surface.h"

namespace app {

ColorLabel::ColorLabel(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(true);
}

void ColorLabel::SetBackColor(int32_t value)
{
    backColor_ = value;
    QPalette pal = palette();
    const bool isColor = value >= 0 && value <= 0xFFFFFF;
    pal.setColor(QPalette::Window, QColor::fromRgb(platform::ToQRgb(isColor ? value : 0)));
    setPalette(pal);
}

void ColorLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && !pressed_.contains(event->key()))
        pressed_.append(event->key());
    QLineEdit::keyPressEvent(event);
}

void TextBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    // A held key repeats presses but is one keystroke: it counts on its
    // final release only.
    if (event->isAutoRepeat())
        return;
    if (!pressed_.removeOne(event->key()))
        return;
    if (onKeyUp)
        onKeyUp(event->key());
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Keys pressed here and released elsewhere were not typed here.
    pressed_.clear();
    // A message box or menu taking the focus is not the user leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::MenuBarFocusReason)
        return;
    if (onLostFocus)
        onLostFocus();
}

ClientArea::ClientArea(QWidget* parent, const platform::Surface& surface) : QWidget(parent), surface_(surface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), surface_.Image());
}

int ButtonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

void ClientArea::TrackPointerOn(QWindow* window)
{
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (window_)
        window_->installEventFilter(this);
}

bool ClientArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            windowPosition_ = static_cast<QMouseEvent*>(event)->position();
            haveWindowPosition_ = true;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPointF ClientArea::PixelUnder(const QMouseEvent* event) const
{
    QPointF p = event->position();
    if (haveWindowPosition_ && window_ && window() && window()->windowHandle() == window_) {
        const QPointF precise = windowPosition_ - QPointF(mapTo(window(), QPoint(0, 0)));
        // Only a refinement of this very event: within the rounding.
        if (std::abs(precise.x() - p.x()) <= 0.5 && std::abs(precise.y() - p.y()) <= 0.5)
            p = precise;
    }
    return QPointF(std::floor(p.x()), std::floor(p.y()));
}

namespace {
int Shift(const QMouseEvent* e)
{
    int s = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        s |= 1;
    if (e->modifiers() & Qt::ControlModifier)
        s |= 2;
    if (e->modifiers() & Qt::AltModifier)
        s |= 4;
    return s;
}
} // namespace

void ClientArea::mousePressEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    if (onMouseDown)
        onMouseDown(ButtonBits(e->button()), Shift(e), float(p.x()), float(p.y()));
}

void ClientArea::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    if (onMouseMove)
        onMouseMove(ButtonBits(e->buttons()), Shift(e), float(p.x()), float(p.y()));
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    if (onMouseUp)
        onMouseUp(ButtonBits(e->button()), Shift(e), float(p.x()), float(p.y()));
}

} // namespace app
