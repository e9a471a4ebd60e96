#pragma once
#include <cstdint>
#include <optional>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "app/PickRules.h"

namespace app {

// The enlarged view of the pixels around a pick: a grid of device pixels
// drawn as blocks, the sampled square outlined, and below it where the pick
// stands, its colour and how to finish. It only shows what it is given.
class Magnifier : public QWidget {
public:
    static constexpr int Width = 180;
    static constexpr const char* Hint =
        "Click or Enter to take \u00b7 Esc to cancel \u00b7 arrows move one pixel (Shift: ten)";

    // Without a parent it is a window of its own that never takes the
    // focus or the pointer's events.
    explicit Magnifier(QWidget* parent = nullptr);

    struct View {
        QImage pixels;  // the device pixels read, from `origin` on
        QPoint origin;  // the device pixel of the image's top-left
        QPoint centre;  // the pick
        int block = 8;  // logical pixels per device pixel
        pick::Sample sample = pick::Sample::Pixel;
        std::optional<int32_t> color; // what the pick takes; none off the screen
    };
    void Show(View view);
    const View& Shown() const { return view_; }

    // The centre block's rectangle in the widget, for tests and benches.
    QRect CentreBlock() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect GridRect() const;
    View view_;
};

} // namespace app
