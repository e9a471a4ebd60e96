#pragma once
#include <cstdint>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>

#include "app/ColorPortal.h"
#include "app/PickRules.h"
#include "app/ScreenAccess.h"

class QKeyEvent;
class QWidget;

namespace app {

class FrozenScreen;
class Magnifier;

// Picks a colour from anywhere on the screen for one window. Where the
// program may read the screen it holds the pointer and keyboard: each move
// previews the pixel under the pointer in a magnifier beside it, a left
// click, Enter or Space takes it, Escape or any other button cancels; the
// arrows move the pick one pixel (ten with Shift), the wheel, + and -
// magnify, A cycles the sample between the pixel and the means of the 3 x 3
// and 5 x 5 squares. Elsewhere a screenshot from the desktop's portal is
// shown still over the screen and picked from in the same way, and where
// the portal gives none its own picker is asked. What a colour does to the
// window is the owner's business, through the signals.
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
    // The magnifier while a pick shows it, else null.
    Magnifier* Lens() const;
    // What is sampled around the pick.
    pick::Sample SampleInForce() const { return sample_; }

signals:
    void preview(int32_t colorValue);
    void taken(int32_t colorValue);
    // After previews: put back what they changed.
    void cancelled();
    // Picking could not start: the whole message for the user.
    void unavailable(const QString& message);

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
    void Hold(PixelSource* source);
    void OpenFrozen(const QString& path);
    void Unavailable(const QString& why);
    // The pick moves to `device`: the magnifier shows it and the window
    // previews its colour.
    void Aim(QPoint device);
    void AimAt(const QPointF& global);
    void KeyPress(const QKeyEvent* key);
    void Zoom(int delta);
    void Take();
    void Cancel();
    void End();

    QPointer<QWidget> window_;
    std::unique_ptr<ScreenAccess> screen_;
    std::unique_ptr<ColorPortal> portal_;
    State state_ = State::Idle;
    PixelSource* source_ = nullptr;
    std::unique_ptr<Magnifier> lens_;
    std::unique_ptr<FrozenScreen> frozen_;
    QPoint at_;
    std::optional<int32_t> aimedColor_;
    // Both last until the program ends.
    pick::Sample sample_ = pick::Sample::Pixel;
    int zoom_ = 0;
};

} // namespace app
