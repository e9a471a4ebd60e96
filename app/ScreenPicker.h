#pragma once
#include <cstdint>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>

#include "app/ColorPortal.h"
#include "app/ScreenAccess.h"

class QWidget;

namespace app {

// Picks a colour from anywhere on the screen for one window. Where the
// program may read the screen it holds the pointer and keyboard: each move
// previews the pixel under the pointer, a left click takes it, Escape or
// any other button cancels. Elsewhere the desktop's own picker is asked
// through its portal. What a colour does to the window is the owner's
// business, through the signals.
class ScreenPicker : public QObject {
    Q_OBJECT

public:
    ScreenPicker(QWidget* window, std::unique_ptr<ScreenAccess> screen, std::unique_ptr<ColorPortal> portal);
    ~ScreenPicker() override;

    // Puts another desktop in place of the real one (tests).
    void UseDesktop(std::unique_ptr<ScreenAccess> screen, std::unique_ptr<ColorPortal> portal);

    void Start();
    // Whether the pointer and keyboard are held for a pick.
    bool Holding() const { return state_ != State::Idle; }

signals:
    void preview(int32_t colorValue);
    void taken(int32_t colorValue);
    // After previews: put back what they changed.
    void cancelled();
    void unavailable(const QString& why);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State {
        Idle,
        Picking,
        // Taken or cancelled by a button; the grab lasts until the buttons
        // are up, so no release lands in a control that saw no press.
        Ending,
    };
    void ConnectPortal();
    QString PortalParent() const;
    void Take(const QPointF& global);
    void Cancel();
    void End();

    QPointer<QWidget> window_;
    std::unique_ptr<ScreenAccess> screen_;
    std::unique_ptr<ColorPortal> portal_;
    State state_ = State::Idle;
};

} // namespace app
