#pragma once
#include <cstdint>
#include <optional>

#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusMessage;

namespace app {

// Asks the desktop to let the user pick a colour with its own picker, over
// the desktop portal's screenshot interface: for desktops where a program
// may not read the screen itself (Wayland). Nothing blocks: the answer comes
// through one of the signals, once per request; a cancel by the user sends
// none.
class ColorPortal : public QObject {
    Q_OBJECT

public:
    explicit ColorPortal(QObject* parent = nullptr);
    ~ColorPortal() override;

    // Starts a request and withdraws one still running. `parentWindow` is
    // the asking window as the portal names it ("x11:3a00004"), or empty.
    void Ask(const QString& parentWindow);
    // Asks for a screenshot of the whole screen, taken without asking the
    // user what to shoot: the answer comes as `shot`, or as `refused` where
    // the desktop gives none (the colour picker may still be asked).
    void AskScreenshot(const QString& parentWindow);

    // How long the portal may take to accept a request (not the user to pick).
    static constexpr int AnswerTimeoutMs = 10000;

signals:
    void picked(int32_t colorValue);
    void failed(const QString& why);
    // The screenshot's file; the receiver removes it when it may.
    void shot(const QString& path);
    void refused();
    // There is no portal on the bus to ask.
    void missing();

private slots:
    void Response(const QDBusMessage& message);

private:
    enum class Kind { Color, Screenshot };
    void Request(Kind kind, const QString& parentWindow);
    void Withdraw();
    void Listen(const QString& path);
    void StopListening();
    void Fail(const QString& why);

    Kind kind_ = Kind::Color;
    QString path_;       // the request being listened to; empty when none
    quint64 serial_ = 0; // tells a late reply of a withdrawn request apart
};

// The colour of a portal's answer ("color": red, green and blue from 0 to 1);
// none when the answer holds no such colour.
std::optional<int32_t> PortalColor(const QVariantMap& results);
// The colour value of three such numbers; values beyond 0..1 are taken as
// the nearest end, what is no number as no colour.
std::optional<int32_t> PortalColor(double red, double green, double blue);

// Where the portal puts the request of the sender with this unique bus name
// made with this token.
QString PortalRequestPath(const QString& uniqueName, const QString& token);

} // namespace app
