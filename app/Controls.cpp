#include "app/Controls.h"

#include <cmath>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
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
    // The same colour again costs nothing: no palette change, no repaint.
    if (value == backColor_ && testAttribute(Qt::WA_SetPalette))
        return;
    backColor_ = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(platform::ToQRgb(value)));
    setPalette(pal);
}

void ColorLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

KeyPresses::KeyPresses(QWidget* window) : QObject(window), window_(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPresses::~KeyPresses()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyPresses::InWindow(QObject* o) const
{
    // Keys that work the menu bar are menu keys, like those of its menus,
    // which are windows of their own: leaving the menu bar with Escape is
    // no typing in the box the focus returns to.
    return o->isWidgetType() && static_cast<QWidget*>(o)->window() == window_ && !qobject_cast<QMenuBar*>(o);
}

bool KeyPresses::TakeRelease(int key)
{
    return held_.removeOne(key);
}

bool KeyPresses::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: // the only sight of a key a shortcut takes
    case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat() && !held_.contains(k->key()) && InWindow(watched))
            held_.append(k->key());
        break;
    }
    case QEvent::KeyRelease: {
        // A text box takes its own releases (TakeRelease); a release in any
        // other control of the window just ends the key.
        const auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat() && !dynamic_cast<TextBox*>(watched) && InWindow(watched))
            held_.removeOne(k->key());
        break;
    }
    case QEvent::WindowDeactivate:
        // Keys still held go on in another window; their releases there are
        // never seen, so nothing held before is trusted afterwards.
        if (watched == window_)
            held_.clear();
        break;
    default:
        break;
    }
    return false;
}

TextBox::TextBox(QWidget* parent, KeyPresses* presses) : QLineEdit(parent), presses_(presses) {}

void TextBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    // A held key repeats presses but is one keystroke: it counts on its
    // final release only.
    if (event->isAutoRepeat())
        return;
    if (!presses_ || !presses_->TakeRelease(event->key()))
        return;
    if (onKeyUp)
        onKeyUp(event->key());
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
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
