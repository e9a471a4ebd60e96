#include "app/ColorPortal.h"

#include <algorithm>
#include <cmath>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QRandomGenerator>
#include <QUrl>

#include "color/ColorValue.h"

namespace app {

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

constexpr uint ResponseSuccess = 0;
constexpr uint ResponseCancelled = 1;
constexpr uint ResponseOther = 2;

QDBusMessage PortalCall(const QString& method)
{
    return QDBusMessage::createMethodCall(PortalService, PortalPath, ScreenshotInterface, method);
}

// Whether the signal comes from the program that owns the portal's name.
bool FromPortal(const QDBusMessage& message)
{
    const QDBusReply<QString> owner =
        QDBusConnection::sessionBus().interface()->serviceOwner(PortalService);
    return owner.isValid() && !owner.value().isEmpty() && owner.value() == message.service();
}

QString Token()
{
    // Unique within this connection; the random part keeps a request of an
    // earlier run of the program from answering for this one.
    static quint64 count = 0;
    return QStringLiteral("tinctara_%1_%2").arg(++count).arg(QRandomGenerator::global()->generate());
}

} // namespace

std::optional<int32_t> PortalColor(const QVariantMap& results)
{
    const auto it = results.constFind(QStringLiteral("color"));
    if (it == results.constEnd() || it->userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument arg = it->value<QDBusArgument>();
    if (arg.currentSignature() != QLatin1String("(ddd)"))
        return std::nullopt;
    double red = 0, green = 0, blue = 0;
    arg.beginStructure();
    arg >> red >> green >> blue;
    arg.endStructure();
    return PortalColor(red, green, blue);
}

std::optional<int32_t> PortalColor(double red, double green, double blue)
{
    if (!std::isfinite(red) || !std::isfinite(green) || !std::isfinite(blue))
        return std::nullopt;
    const auto channel = [](double v) { return static_cast<int32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return color::RGB(channel(red), channel(green), channel(blue));
}

QString PortalRequestPath(const QString& uniqueName, const QString& token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

ColorPortal::ColorPortal(QObject* parent) : QObject(parent) {}

ColorPortal::~ColorPortal()
{
    Withdraw();
}

void ColorPortal::Ask(const QString& parentWindow)
{
    Request(Kind::Color, parentWindow);
}

void ColorPortal::AskScreenshot(const QString& parentWindow)
{
    Request(Kind::Screenshot, parentWindow);
}

void ColorPortal::Request(Kind kind, const QString& parentWindow)
{
    Withdraw();
    kind_ = kind;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // The bus's own words are for whoever reads the terminal.
        qWarning("tinctara: no session bus: %s", qPrintable(bus.lastError().message()));
        emit missing();
        return;
    }
    const QString token = Token();
    // Listening starts before the request is made: the answer may come as
    // soon as the portal has it.
    Listen(PortalRequestPath(bus.baseService(), token));

    QVariantMap options{{QStringLiteral("handle_token"), token}};
    if (kind == Kind::Screenshot)
        options.insert(QStringLiteral("interactive"), false);
    QDBusMessage call = PortalCall(kind == Kind::Color ? QStringLiteral("PickColor") : QStringLiteral("Screenshot"));
    call << parentWindow << options;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, AnswerTimeoutMs), this);
    const quint64 serial = ++serial_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, serial](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (serial != serial_ || path_.isEmpty())
            return; // withdrawn, or already answered
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            const QDBusError error = reply.error();
            qWarning("tinctara: the desktop portal answered: %s: %s", qPrintable(error.name()),
                     qPrintable(error.message()));
            const bool timedOut = error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout;
            if (error.type() == QDBusError::ServiceUnknown || error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
                error.type() == QDBusError::Disconnected) {
                StopListening();
                emit missing();
            } else if (kind_ == Kind::Screenshot && !timedOut) {
                StopListening();
                emit refused();
            } else {
                Fail(timedOut ? QStringLiteral("the desktop's %1 did not answer within %2 seconds")
                                    .arg(kind_ == Kind::Color ? QStringLiteral("colour picker")
                                                              : QStringLiteral("screenshot service"))
                                    .arg(AnswerTimeoutMs / 1000)
                              : QStringLiteral("the desktop's colour picker could not be reached"));
            }
            return;
        }
        // Older portals choose the request's path themselves.
        const QString path = reply.value().path();
        if (path != path_)
            Listen(path);
    });
}

void ColorPortal::Listen(const QString& path)
{
    StopListening();
    path_ = path;
    // Only the portal itself may answer: any program on the bus can work
    // out the path and send a signal on it.
    QDBusConnection::sessionBus().connect(PortalService, path_, RequestInterface, QStringLiteral("Response"), this,
                                          SLOT(Response(QDBusMessage)));
}

void ColorPortal::StopListening()
{
    if (path_.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(PortalService, path_, RequestInterface, QStringLiteral("Response"), this,
                                             SLOT(Response(QDBusMessage)));
    path_.clear();
}

void ColorPortal::Withdraw()
{
    if (path_.isEmpty())
        return;
    // The desktop's picker of a withdrawn request closes; its answer would
    // be ignored anyway.
    QDBusConnection::sessionBus().send(
        QDBusMessage::createMethodCall(PortalService, path_, RequestInterface, QStringLiteral("Close")));
    StopListening();
    ++serial_;
}

void ColorPortal::Fail(const QString& why)
{
    StopListening();
    emit failed(why);
}

void ColorPortal::Response(const QDBusMessage& message)
{
    if (message.path() != path_ || !FromPortal(message))
        return;
    StopListening();
    const QList<QVariant> args = message.arguments();
    if (kind_ == Kind::Screenshot) {
        const uint response = args.size() == 2 ? args[0].toUInt() : ResponseOther;
        if (response == ResponseCancelled)
            return;
        const QString path =
            response == ResponseSuccess && message.signature() == QLatin1String("ua{sv}")
                ? QUrl(qdbus_cast<QVariantMap>(args[1]).value(QStringLiteral("uri")).toString()).toLocalFile()
                : QString();
        if (path.isEmpty())
            emit refused();
        else
            emit shot(path);
        return;
    }
    if (message.signature() != QLatin1String("ua{sv}") || args.size() != 2) {
        Fail(QStringLiteral("the desktop's colour picker answered in a form this program does not know"));
        return;
    }
    const uint response = args[0].toUInt();
    if (response == ResponseCancelled)
        return;
    const std::optional<int32_t> color =
        response == ResponseSuccess ? PortalColor(qdbus_cast<QVariantMap>(args[1])) : std::nullopt;
    if (!color) {
        Fail(response == ResponseSuccess ? QStringLiteral("the desktop's colour picker answered without a colour")
                                         : QStringLiteral("the desktop's colour picker ended without a colour"));
        return;
    }
    emit picked(*color);
}

} // namespace app
