#include "app/ScreenPicker.h"

#include <cmath>
#include <cstdlib>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "app/FrozenScreen.h"
#include "app/Magnifier.h"

namespace app {

namespace {

const char* const NoPortal =
    "Picking from the screen needs the desktop's screenshot service (xdg-desktop-portal), which is not running.";

// The portal's screenshots land among the user's own files, where nobody
// else would tidy them away; a file anywhere else is not ours to remove.
bool InUserFolder(const QString& path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString home = QDir(QDir::homePath()).canonicalPath();
    return !file.isEmpty() && !home.isEmpty() && file.startsWith(home + QLatin1Char('/'));
}

// Pixels of `pixels` (from device pixel `origin` on) that lie in `cover`
// become unread: what stands there is the magnifier itself.
bool Uncover(QImage& pixels, QPoint origin, const QRect& cover)
{
    const QRect hidden = cover.translated(-origin).intersected(pixels.rect());
    for (int y = hidden.top(); y <= hidden.bottom(); ++y)
        for (int x = hidden.left(); x <= hidden.right(); ++x)
            pixels.setPixel(x, y, 0);
    return !hidden.isEmpty();
}

} // namespace

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

Magnifier* ScreenPicker::Lens() const
{
    if (!Holding())
        return nullptr;
    return frozen_ ? frozen_->Lens() : lens_.get();
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
        Unavailable(QStringLiteral("this desktop does not let programs read the screen, and %1").arg(why));
    });
    connect(portal_.get(), &ColorPortal::missing, this,
            [this] { emit unavailable(QString::fromUtf8(NoPortal)); });
    connect(portal_.get(), &ColorPortal::shot, this, &ScreenPicker::OpenFrozen);
    // Without a screenshot the desktop's own picker is the one way left.
    connect(portal_.get(), &ColorPortal::refused, this, [this] { portal_->Ask(PortalParent()); });
}

void ScreenPicker::Unavailable(const QString& why)
{
    QString reason = why;
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    emit unavailable(QStringLiteral("Picking a colour from the screen is not available here: %1.").arg(reason));
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
        portal_->AskScreenshot(PortalParent());
        return;
    }
    const QString why = screen_->Grab(window_->windowHandle());
    if (!why.isEmpty()) {
        Unavailable(why);
        return;
    }
    if (!lens_)
        lens_ = std::make_unique<Magnifier>();
    Hold(screen_.get());
}

void ScreenPicker::Hold(PixelSource* source)
{
    source_ = source;
    state_ = State::Picking;
    // Seen before any window, widget or shortcut of the program sees them.
    qApp->installEventFilter(this);
    // Shown at once where the pointer stands; a screenshot's pick starts
    // in its middle when the pointer is nowhere to be found.
    const QPoint pointer = QCursor::pos();
    if (QGuiApplication::screenAt(pointer))
        AimAt(QPointF(pointer) + QPointF(0.5, 0.5));
    else if (frozen_)
        Aim(frozen_->DeviceArea(QPoint()).center());
}

void ScreenPicker::OpenFrozen(const QString& path)
{
    const QImage shot(path);
    if (InUserFolder(path))
        QFile::remove(path);
    QScreen* screen = window_ ? window_->screen() : nullptr;
    if (shot.isNull() || !screen || Holding()) {
        if (!Holding())
            portal_->Ask(PortalParent());
        return;
    }
    frozen_ = std::make_unique<FrozenScreen>(shot, screen);
    frozen_->showFullScreen();
    frozen_->raise();
    frozen_->activateWindow();
    Hold(frozen_.get());
}

void ScreenPicker::AimAt(const QPointF& global)
{
    if (const std::optional<QPoint> device = source_->DevicePixel(global))
        Aim(*device);
}

void ScreenPicker::Aim(QPoint device)
{
    at_ = device;
    const int block = pick::BlockSizes[zoom_];
    const int reach = std::max(pick::GridCells(block) / 2, pick::SampleSide(pick::Sample::Square5) / 2);
    const QRect area(at_ - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
    QImage pixels = source_->Read(area);
    bool covered = false;
    if (!frozen_ && lens_ && lens_->isVisible()) {
        // Read around the magnifier: it is not part of the screen it shows.
        const QRect lens = lens_->geometry();
        const std::optional<QPoint> from = source_->DevicePixel(QPointF(lens.topLeft()));
        const std::optional<QPoint> to = source_->DevicePixel(QPointF(lens.topLeft() + QPoint(lens.width(), lens.height())));
        if (from && to)
            covered = Uncover(pixels, area.topLeft(), QRect(*from, *to - QPoint(1, 1)));
    }
    aimedColor_ = pick::SampleColor(pixels, area.topLeft(), at_, pick::SampleSide(sample_));
    Magnifier* lens = frozen_ ? frozen_->Lens() : lens_.get();
    lens->Show({pixels, area.topLeft(), at_, block, sample_, aimedColor_});
    if (frozen_) {
        frozen_->PlaceLens(at_);
    } else {
        const QPoint pointer = source_->LogicalOf(at_).toPoint();
        QScreen* screen = QGuiApplication::screenAt(pointer);
        const QRect bounds = screen ? screen->geometry() : QRect(pointer - QPoint(1000, 1000), QSize(2000, 2000));
        const QPoint place = pick::PlaceMagnifier(pointer, lens->size(), bounds);
        // Moving a window is the dearest part of a move: the magnifier
        // trails the pointer by a few pixels, always clear of it and of
        // what is read around it.
        const QPoint off = place - lens->pos();
        if (!lens->isVisible() || std::abs(off.x()) > pick::LensSlack || std::abs(off.y()) > pick::LensSlack)
            lens->move(place);
        if (!lens->isVisible())
            lens->show();
    }
    // The pointer came over where the magnifier stood: read again once
    // what it hid has been drawn.
    if (covered)
        QTimer::singleShot(50, this, [this, device] {
            if (state_ == State::Picking && at_ == device)
                Aim(device);
        });
    if (aimedColor_)
        emit preview(*aimedColor_);
}

void ScreenPicker::Zoom(int delta)
{
    zoom_ = pick::ZoomStep(zoom_, delta);
    Aim(at_);
}

void ScreenPicker::Take()
{
    Aim(at_);
    if (!aimedColor_) {
        Cancel();
        return;
    }
    emit taken(*aimedColor_);
}

void ScreenPicker::Cancel()
{
    emit cancelled();
}

void ScreenPicker::End()
{
    qApp->removeEventFilter(this);
    state_ = State::Idle;
    if (source_ == screen_.get())
        screen_->Release(window_ ? window_->windowHandle() : nullptr);
    source_ = nullptr;
    if (lens_)
        lens_->hide();
    if (frozen_) {
        // Its own events may be on the way here.
        frozen_->hide();
        frozen_.release()->deleteLater();
    }
}

void ScreenPicker::KeyPress(const QKeyEvent* key)
{
    const int step = key->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (key->key()) {
    case Qt::Key_Escape:
        Cancel();
        End();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Take();
        End();
        return;
    case Qt::Key_Left:
        move = QPoint(-step, 0);
        break;
    case Qt::Key_Right:
        move = QPoint(step, 0);
        break;
    case Qt::Key_Up:
        move = QPoint(0, -step);
        break;
    case Qt::Key_Down:
        move = QPoint(0, step);
        break;
    case Qt::Key_A:
        sample_ = pick::NextSample(sample_);
        Aim(at_);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(1);
        return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        Zoom(-1);
        return;
    default:
        return;
    }
    const QPoint to = pick::Nudge(at_, move, source_->DeviceArea(at_));
    source_->PointAt(to);
    Aim(to);
}

bool ScreenPicker::eventFilter(QObject* watched, QEvent* event)
{
    // The window hidden, closed or minimised, or the screenshot's window
    // gone: the hold is lost with them, so the pick ends as a cancel.
    const bool ours = watched == window_ || (frozen_ && watched == frozen_.get());
    // Unmapped behind the program's back (no hide of its own), the window
    // loses its grabs with the server; Qt then only says it is not exposed.
    const bool unmapped = window_ && watched == window_->windowHandle() && event->type() == QEvent::Expose &&
                          !window_->windowHandle()->isExposed();
    if (unmapped || (ours && (event->type() == QEvent::Hide || event->type() == QEvent::Close ||
                              (event->type() == QEvent::WindowStateChange && window_ && window_->isMinimized())))) {
        if (state_ == State::Picking)
            Cancel();
        End();
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        if (state_ == State::Picking)
            AimAt(static_cast<QMouseEvent*>(event)->globalPosition());
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (state_ == State::Ending) {
            // The release was lost on the way: this press is an ordinary one.
            End();
            return false;
        }
        if (m->button() == Qt::LeftButton) {
            AimAt(m->globalPosition());
            Take();
        } else {
            Cancel();
        }
        state_ = State::Ending;
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (state_ == State::Ending && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            End();
        return true;
    case QEvent::Wheel:
        if (state_ == State::Picking) {
            const int dy = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (dy != 0)
                Zoom(dy > 0 ? 1 : -1);
        }
        return true;
    case QEvent::KeyRelease:
        return true;
    case QEvent::ShortcutOverride:
        // Taken here, so no shortcut fires and the key comes as a key press.
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (state_ == State::Picking)
            KeyPress(static_cast<QKeyEvent*>(event));
        return true;
    default:
        return false;
    }
}

} // namespace app
