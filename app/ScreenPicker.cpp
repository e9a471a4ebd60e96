#include "app/ScreenPicker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace app {

ScreenPicker::ScreenPicker(QWidget* window, std::unique_ptr<ScreenAccess> screen,
                           std::unique_ptr<ColorPortal> portal)
    : QObject(window), window_(window)
{
    UseDesktop(std::move(screen), std::move(portal));
}

ScreenPicker::~ScreenPicker()
{
    if (Holding())
        End();
}

void ScreenPicker::UseDesktop(std::unique_ptr<ScreenAccess> screen, std::unique_ptr<ColorPortal> portal)
{
    if (Holding())
        End();
    screen_ = std::move(screen);
    portal_ = std::move(portal);
    ConnectPortal();
}

void ScreenPicker::ConnectPortal()
{
    // The desktop's picker has its own preview: only a colour it answers
    // reaches the window, a cancel changes nothing.
    connect(portal_.get(), &ColorPortal::picked, this, &ScreenPicker::taken);
    connect(portal_.get(), &ColorPortal::failed, this, [this](const QString& why) {
        emit unavailable(QStringLiteral("this desktop does not let programs read the screen, and %1").arg(why));
    });
}

QString ScreenPicker::PortalParent() const
{
    if (!window_ || QGuiApplication::platformName() != QLatin1String("xcb"))
        return QString();
    return QStringLiteral("x11:") + QString::number(window_->winId(), 16);
}

void ScreenPicker::Start()
{
    if (Holding() || !window_)
        return;
    if (!screen_->CanReadScreen()) {
        portal_->Ask(PortalParent());
        return;
    }
    const QString why = screen_->Grab(window_->windowHandle());
    if (!why.isEmpty()) {
        emit unavailable(why);
        return;
    }
    state_ = State::Picking;
    // Seen before any window, widget or shortcut of the program sees them.
    qApp->installEventFilter(this);
}

void ScreenPicker::Take(const QPointF& global)
{
    const std::optional<int32_t> c = screen_->PixelAt(global);
    if (!c) {
        Cancel();
        return;
    }
    emit taken(*c);
}

void ScreenPicker::Cancel()
{
    emit cancelled();
}

void ScreenPicker::End()
{
    qApp->removeEventFilter(this);
    state_ = State::Idle;
    screen_->Release(window_ ? window_->windowHandle() : nullptr);
}

bool ScreenPicker::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (state_ == State::Picking) {
            if (const std::optional<int32_t> c = screen_->PixelAt(static_cast<QMouseEvent*>(event)->globalPosition());
                c)
                emit preview(*c);
        }
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (state_ == State::Picking) {
            if (m->button() == Qt::LeftButton)
                Take(m->globalPosition());
            else
                Cancel();
            state_ = State::Ending;
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (state_ == State::Ending && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            End();
        return true;
    case QEvent::Wheel:
    case QEvent::KeyRelease:
        return true;
    case QEvent::ShortcutOverride:
        // Taken here, so no shortcut fires and the key comes as a key press.
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (state_ == State::Picking && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Cancel();
            End();
        }
        return true;
    default:
        return false;
    }
}

} // namespace app
