#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QWidget>
#include <QWindow>

class QFontMetrics;
class QPainter;
class QStyleOptionFrame;

namespace platform {
class Surface;
}

namespace app {

// A label whose background is a colour value (0x00BBGGRR) and which reports
// clicks. The value is kept exactly as set, even when it is no colour;
// such values are shown as black.
class ColorLabel : public QLabel {
    Q_OBJECT

public:
    explicit ColorLabel(QWidget* parent);
    int32_t BackColor() const { return backColor_; }
    void SetBackColor(int32_t value);

signals:
    void clicked();
    // The value changed; windows that show the colour follow it.
    void backColorChanged(int32_t value);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t backColor_ = 0;
    bool colorSet_ = false;
};

// The keys held down whose press reached one window, in any of its
// controls. A release whose press went elsewhere (the key that closed a
// message box, a key pressed in another program) was not typed in the
// window; see TextBox.
class KeyPresses : public QObject {
    Q_OBJECT

public:
    // Watches every key event of the application for those of `window`.
    explicit KeyPresses(QWidget* window);
    ~KeyPresses() override;
    // Whether this key's press reached the window since its last release;
    // the release is taken, so the key no longer counts as held.
    bool TakeRelease(int key);
    // Shortcuts whose keys are the menu's, not typing: once one of them
    // fires, its key and the modifiers held with it no longer count as held,
    // so their releases run no box's handler.
    void SetMenuShortcuts(QList<QAction*> actions) { menuShortcuts_ = std::move(actions); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool InWindow(QObject* o) const;
    bool IsMenuShortcut(QKeyCombination keys) const;
    void ForgetChord(int key, Qt::KeyboardModifiers modifiers);

    QWidget* window_;
    QList<int> held_;
    QList<QAction*> menuShortcuts_;
};

// A text box that reports key releases of keys pressed in its window, and
// the focus moving to another control of the window. It paints every one of
// its pixels, the style's panel from a cache, so a new text repaints only
// the box and nothing beneath it.
class TextBox : public QLineEdit {
    Q_OBJECT

public:
    TextBox(QWidget* parent, KeyPresses* presses);

    // The text the box shows and the handlers read. These stand in front of
    // QLineEdit's own on purpose: giving QLineEdit a text lays it out and
    // shapes it, most of what a drag step would cost, so an unfocused box
    // shows a new text at once, from its picture or painted by QLineEdit's
    // rules, and hands it to QLineEdit only once the values stop changing
    // for a moment (or before anything else reaches the box). Screen
    // readers, which ask QLineEdit, hear the value the drag settles on.
    QString text() const { return late_ ? *late_ : QLineEdit::text(); }
    void setText(const QString& text);
    // Selects the text shown (QLineEdit is handed it first).
    void selectAll()
    {
        Commit();
        QLineEdit::selectAll();
    }
    // Hands a text still waiting to QLineEdit: this box's, or every box's.
    void Commit();
    static void CommitAll();

signals:
    void keyReleased(int key);
    void focusLost();

protected:
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

public:
    // Everything that shapes the picture of an unfocused box.
    struct PictureKey {
        QString text, placeholder, font;
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0, beneath = 0;
        // Where the text is scrolled to.
        QRect cursor;
        // Cursor, selection start and length, style state, alignment, echo
        // mode, frame, direction.
        std::array<int, 8> numbers{};
        bool operator==(const PictureKey&) const = default;
    };

    // What places the text in the box: echo mode, alignment, frame,
    // direction, contents rectangle, text margins, pixel ratio.
    using Shape = std::array<int, 13>;

private:
    Shape ShapeOf() const;
    PictureKey KeyOf(const QStyleOptionFrame& option, qreal ratio, const QString& text, QRect cursor,
                     std::array<int, 3> cursorAndSelection) const;
    bool WholePixels(const QPainter& painter) const;
    QRect CursorRectOf(const QString& text) const;
    // Where QLineEdit lays its text: the style's contents less the text margins.
    QRect TextArea(const QStyleOptionFrame& option) const;
    bool Fits(const QStyleOptionFrame& option, const QString& text) const;
    bool ShowLate(QPainter& painter, const QRegion& region);
    bool CanPaintFresh() const;
    bool PaintFresh(QPainter& painter, const QStyleOptionFrame& option, const QString& text) const;
    int InkHeight(const QFontMetrics& metrics, const QString& text) const;
    // Keeps what was just painted as the picture for `key`.
    bool Keep(QPainter& painter, const PictureKey& key) const;

    KeyPresses* presses_;
    QString fontKey_;
    // Cursor rectangles by text and cursor position, good while the scroll QLineEdit keeps
    // and the box's shape stay as they were; see CursorRectOf.
    mutable QHash<std::pair<QString, int>, QRect> cursorRects_;
    mutable Shape cursorShape_{};
    // The text shown but not yet given to QLineEdit, and its picture's key:
    // with no cursor rectangle for a picture painted here.
    std::optional<QString> late_;
    PictureKey lateKey_;
};

// An option button that skips painting where it shows nothing. Its last
// column lies over the box beside it, so every new value in that box would
// otherwise paint the whole button again; it only draws there while it has
// the focus (the focus frame).
class OptionButton : public QRadioButton {
public:
    OptionButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect ink_;
    int inkState_ = -1;
    QSize inkSize_;
    qreal inkRatio_ = 0;
};

// The client area: shows the surface image and reports mouse events in
// whole client pixels.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    ClientArea(QWidget* parent, const platform::Surface& surface);
    // Watches the pointer on the top-level window, where Qt still reports
    // it to the fraction of a pixel; see PixelUnder.
    void TrackPointerOn(QWindow* window);

signals:
    void mouseDown(int button, int shift, float x, float y);
    void mouseMoved(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The client pixel under the pointer of this event: the floor of its
    // logical position. Widgets get positions rounded to whole logical
    // pixels, which at scale factor 2 moves half of every pixel's clicks to
    // its neighbour, so the window's unrounded position is used when it
    // belongs to the same event.
    QPointF PixelUnder(const QMouseEvent* event) const;

    const platform::Surface& surface_;
    QPointer<QWindow> window_;
    QPointF windowPosition_;
    bool haveWindowPosition_ = false;
};

size_t qHash(const TextBox::PictureKey& key, size_t seed = 0);

// Mouse buttons as the handlers see them: a bit set, 1 left, 2 right, 4 middle.
int ButtonBits(Qt::MouseButtons buttons);

} // namespace app
