#pragma once
#include <cstdint>
#include <functional>

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace platform {
class Surface;
}

namespace app {

// A label whose background is a colour value (0x00BBGGRR) and which reports
// clicks. The value is kept exactly as set, even when it is no colour;
// such values are shown as black.
class ColorLabel : public QLabel {
public:
    explicit ColorLabel(QWidget* parent);
    int32_t BackColor() const { return backColor_; }
    void SetBackColor(int32_t value);
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int32_t backColor_ = 0;
};

// A text box that reports key presses and releases it received, and the
// focus moving to another control of the window.
class TextBox : public QLineEdit {
public:
    explicit TextBox(QWidget* parent);
    std::function<void(int key)> onKeyUp;
    std::function<void()> onLostFocus;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Releases whose press this box did not see (the key that closed a
    // message box, say) are not typing.
    QList<int> pressed_;
};

// The client area: shows the surface image and reports mouse events in
// whole client pixels.
class ClientArea : public QWidget {
public:
    ClientArea(QWidget* parent, const platform::Surface& surface);
    std::function<void(int button, int shift, float x, float y)> onMouseDown;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;
    std::function<void(int button, int shift, float x, float y)> onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const platform::Surface& surface_;
};

// Mouse buttons as the handlers see them: a bit set, 1 left, 2 right, 4 middle.
int ButtonBits(Qt::MouseButtons buttons);

} // namespace app
