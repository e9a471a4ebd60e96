#include "app/ScreenAccess.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "platform/Surface.h"

namespace app {

namespace {

// Where the screen's device pixel `device` lies: the logical pixel whose
// grab starts at or before it, kept far enough from the last one for a
// 2 x 2 grab.
void PlanAxis(double position, double factor, int logicalSize, int& logical, int& offset)
{
    const int deviceSize = std::max(1, static_cast<int>(std::lround(logicalSize * factor)));
    // The pointer's position is a device pixel divided by the factor; the
    // allowance keeps the product from falling just short of that pixel.
    const int device = std::clamp(static_cast<int>(std::floor(position * factor + 1e-6)), 0, deviceSize - 1);
    logical = std::clamp(static_cast<int>(std::floor(device / factor)), 0, std::max(0, logicalSize - 2));
    // A logical position grabs from the device pixel nearest its product.
    offset = device - static_cast<int>(std::lround(logical * factor));
}

bool InWaylandSession()
{
    // An X11 program inside a Wayland session sees only the X11 windows;
    // the rest of the screen reads black.
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

class X11Screen : public ScreenAccess {
public:
    bool CanReadScreen() const override
    {
        return QGuiApplication::platformName() == QLatin1String("xcb") && !InWaylandSession();
    }

    QString Grab(QWindow* window) override
    {
        if (!window || !window->isExposed())
            return QStringLiteral("the window is not shown");
        // The keyboard first: its grab reports a refusal reliably.
        if (!window->setKeyboardGrabEnabled(true))
            return QStringLiteral("another program holds the keyboard");
        if (!window->setMouseGrabEnabled(true)) {
            window->setKeyboardGrabEnabled(false);
            return QStringLiteral("another program holds the pointer");
        }
        // The held pointer shows the grabbing window's cursor everywhere.
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        return QString();
    }

    void Release(QWindow* window) override
    {
        QGuiApplication::restoreOverrideCursor();
        if (window) {
            window->setMouseGrabEnabled(false);
            window->setKeyboardGrabEnabled(false);
        }
    }

    std::optional<int32_t> PixelAt(const QPointF& global) override
    {
        QScreen* screen = QGuiApplication::screenAt(QPoint(static_cast<int>(std::floor(global.x())),
                                                           static_cast<int>(std::floor(global.y()))));
        if (!screen)
            return std::nullopt;
        const QRect area = screen->geometry();
        if (area.width() < 2 || area.height() < 2)
            return std::nullopt;
        const PixelGrab plan = PlanPixelGrab(global - QPointF(area.topLeft()), screen->devicePixelRatio(), area.size());
        const QImage image = screen->grabWindow(0, plan.logical.x(), plan.logical.y(), 2, 2).toImage();
        if (image.isNull())
            return std::nullopt;
        const int x = std::clamp(plan.offset.x(), 0, image.width() - 1);
        const int y = std::clamp(plan.offset.y(), 0, image.height() - 1);
        return platform::FromQRgb(image.pixel(x, y));
    }
};

} // namespace

PixelGrab PlanPixelGrab(QPointF position, double factor, QSize logicalSize)
{
    PixelGrab plan;
    int logical = 0, offset = 0;
    PlanAxis(position.x(), factor, logicalSize.width(), logical, offset);
    plan.logical.setX(logical);
    plan.offset.setX(offset);
    PlanAxis(position.y(), factor, logicalSize.height(), logical, offset);
    plan.logical.setY(logical);
    plan.offset.setY(offset);
    return plan;
}

std::unique_ptr<ScreenAccess> DesktopScreen()
{
    return std::make_unique<X11Screen>();
}

} // namespace app
