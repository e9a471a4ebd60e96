#include "app/ScreenAccess.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

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

QScreen* ScreenAt(const QPointF& global)
{
    return QGuiApplication::screenAt(
        QPoint(static_cast<int>(std::floor(global.x())), static_cast<int>(std::floor(global.y()))));
}

// A screen's device pixels in the desktop's device coordinates.
QRect DeviceRect(const QScreen* screen)
{
    const QRect g = screen->geometry();
    const double f = screen->devicePixelRatio();
    return {static_cast<int>(std::lround(g.x() * f)), static_cast<int>(std::lround(g.y() * f)),
            static_cast<int>(std::lround(g.width() * f)), static_cast<int>(std::lround(g.height() * f))};
}

QScreen* ScreenOfDevice(QPoint device)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* s : screens) {
        if (DeviceRect(s).contains(device))
            return s;
    }
    return screens.isEmpty() ? nullptr : screens.first();
}

// The 32-bit true-colour pixels of the usual X server, with red in the third
// byte; other layouts are read through Qt.
bool PlainTrueColor(xcb_connection_t* c, const xcb_screen_t* screen)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || screen->root_depth != 24)
        return false;
    bool wide = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        wide |= f.data->depth == 24 && f.data->bits_per_pixel == 32;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual)
                return wide && v.data->red_mask == 0xFF0000u && v.data->green_mask == 0xFF00u &&
                       v.data->blue_mask == 0xFFu;
        }
    }
    return false;
}

// Reads `area` (device pixels, on one screen) straight from the X server
// into `out` at `to`: one request for a few dozen pixels, where Qt's grab
// makes a pixmap and copies it twice.
bool ReadFromServer(const QRect& area, QImage& out, QPoint to)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    static const bool plain = PlainTrueColor(c, screen);
    if (!plain)
        return false;
    const xcb_get_image_cookie_t cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply)
        return false;
    const bool whole = xcb_get_image_data_length(reply) >= area.width() * area.height() * 4;
    if (whole) {
        const uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < area.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * area.width() * 4);
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(to.y() + y)) + to.x();
            for (int x = 0; x < area.width(); ++x)
                line[x] = row[x] | 0xFF000000u;
        }
    }
    std::free(reply);
    return whole;
}

// Whether another program holds the pointer. Qt's own grab reports success
// then, so the server is asked with a grab of our own stamped at time 1:
// the server answers "already grabbed" before it looks at the time, and
// otherwise finds the time too early and grabs nothing, so a later grab
// stamped with the last event's time still succeeds.
bool PointerHeldElsewhere(QWindow* window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    constexpr xcb_timestamp_t Early = 1;
    const xcb_grab_pointer_cookie_t cookie =
        xcb_grab_pointer(c, 0, static_cast<xcb_window_t>(window->winId()),
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, Early);
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(c, cookie, nullptr);
    if (!reply)
        return false;
    const int status = reply->status;
    std::free(reply);
    if (status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(c, Early);
        xcb_flush(c);
    }
    return status == XCB_GRAB_STATUS_ALREADY_GRABBED || status == XCB_GRAB_STATUS_FROZEN;
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
        if (PointerHeldElsewhere(window) || !window->setMouseGrabEnabled(true)) {
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

    std::optional<QPoint> DevicePixel(const QPointF& global) override
    {
        QScreen* screen = ScreenAt(global);
        if (!screen)
            return std::nullopt;
        const QRect area = screen->geometry();
        const double factor = screen->devicePixelRatio();
        const QRect device = DeviceRect(screen);
        // The allowance keeps a position that is a device pixel divided by
        // the factor from falling just short of that pixel.
        const QPointF at = (global - QPointF(area.topLeft())) * factor + QPointF(1e-6, 1e-6);
        return QPoint(std::clamp(device.left() + static_cast<int>(std::floor(at.x())), device.left(), device.right()),
                      std::clamp(device.top() + static_cast<int>(std::floor(at.y())), device.top(), device.bottom()));
    }

    QRect DeviceArea(QPoint device) override
    {
        QScreen* screen = ScreenOfDevice(device);
        return screen ? DeviceRect(screen) : QRect();
    }

    QImage Read(const QRect& wanted) override
    {
        QImage out(wanted.size(), QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        QScreen* screen = ScreenOfDevice(wanted.center());
        if (!screen)
            return out;
        const QRect device = DeviceRect(screen);
        const QRect area = wanted.intersected(device);
        if (!area.isEmpty() && ReadFromServer(area, out, area.topLeft() - wanted.topLeft()))
            return out;
        const QSize logicalSize = screen->geometry().size();
        if (area.isEmpty() || logicalSize.width() < 2 || logicalSize.height() < 2)
            return out;
        // Whole logical pixels from the one holding the first device pixel
        // wanted, enough of them to cover the rest.
        const double factor = screen->devicePixelRatio();
        const QPoint first = area.topLeft() - device.topLeft();
        const PixelGrab plan = PlanPixelGrab(QPointF(first) / factor, factor, logicalSize);
        const int w = std::min(logicalSize.width() - plan.logical.x(),
                               static_cast<int>(std::ceil((plan.offset.x() + area.width()) / factor)) + 1);
        const int h = std::min(logicalSize.height() - plan.logical.y(),
                               static_cast<int>(std::ceil((plan.offset.y() + area.height()) / factor)) + 1);
        const QImage grabbed = screen->grabWindow(0, plan.logical.x(), plan.logical.y(), w, h).toImage();
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const QPoint from = plan.offset + QPoint(x, y);
                if (grabbed.valid(from))
                    out.setPixel(area.left() - wanted.left() + x, area.top() - wanted.top() + y,
                                 grabbed.pixel(from) | 0xFF000000u);
            }
        }
        return out;
    }

    void PointAt(QPoint device) override
    {
        // Device pixels are the X server's own coordinates; a logical
        // position could not name every one of them at a factor above 1.
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* c = x11 ? x11->connection() : nullptr;
        if (!c)
            return;
        const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        xcb_warp_pointer(c, XCB_NONE, root->root, 0, 0, 0, 0, static_cast<int16_t>(device.x()),
                         static_cast<int16_t>(device.y()));
        xcb_flush(c);
    }

    QPointF LogicalOf(QPoint device) override
    {
        QScreen* screen = ScreenOfDevice(device);
        if (!screen)
            return QPointF(device);
        const QRect d = DeviceRect(screen);
        return QPointF(screen->geometry().topLeft()) + QPointF(device - d.topLeft()) / screen->devicePixelRatio();
    }

    std::optional<int32_t> PixelAt(const QPointF& global) override
    {
        const std::optional<QPoint> device = DevicePixel(global);
        if (!device)
            return std::nullopt;
        const QRgb p = Read(QRect(*device, QSize(1, 1))).pixel(0, 0);
        if (qAlpha(p) != 255)
            return std::nullopt;
        return platform::FromQRgb(p);
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

std::optional<QPoint> ScreenAccess::DevicePixel(const QPointF& global)
{
    return QPoint(static_cast<int>(std::floor(global.x())), static_cast<int>(std::floor(global.y())));
}

QRect ScreenAccess::DeviceArea(QPoint)
{
    return QRect(QPoint(-(1 << 20), -(1 << 20)), QPoint(1 << 20, 1 << 20));
}

QImage ScreenAccess::Read(const QRect& area)
{
    QImage out(area.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            if (const std::optional<int32_t> c = PixelAt(QPointF(area.topLeft() + QPoint(x, y)) + QPointF(0.5, 0.5)))
                out.setPixel(x, y, platform::ToQRgb(*c) | 0xFF000000u);
        }
    }
    return out;
}

std::unique_ptr<ScreenAccess> DesktopScreen()
{
    return std::make_unique<X11Screen>();
}

} // namespace app
