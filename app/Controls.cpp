#include "app/Controls.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include <QApplication>
#include <QBasicTimer>
#include <QCache>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include "color/ColorInfo.h"
#include "platform/Surface.h"

namespace app {

ColorLabel::ColorLabel(QWidget* parent) : QLabel(parent)
{
    // It paints every pixel itself, in its colour; a palette change per new
    // colour would cost far more than the fill.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorLabel::SetBackColor(int32_t value)
{
    // The same colour again costs nothing: no repaint.
    if (value == backColor_ && colorSet_)
        return;
    backColor_ = value;
    colorSet_ = true;
    // What a screen reader says for the sample: the colour it shows.
    const std::string hex = '#' + color::InfoOf(color::IsColor(value) ? value : 0).hex;
    setAccessibleDescription(QString::fromLatin1(hex.data(), qsizetype(hex.size())));
    update();
    emit backColorChanged(value);
}

void ColorLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(platform::ToQRgb(backColor_)));
}

void ColorLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

KeyPresses::KeyPresses(QWidget* window) : QObject(window), window_(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPresses::~KeyPresses()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyPresses::InWindow(QObject* o) const
{
    // Keys that work the menu bar are menu keys, like those of its menus,
    // which are windows of their own: leaving the menu bar with Escape is
    // no typing in the box the focus returns to.
    return o->isWidgetType() && static_cast<QWidget*>(o)->window() == window_ && !qobject_cast<QMenuBar*>(o);
}

bool KeyPresses::TakeRelease(int key)
{
    return held_.removeOne(key);
}

bool KeyPresses::IsMenuShortcut(QKeyCombination keys) const
{
    for (const QAction* a : menuShortcuts_)
        if (!a->shortcut().isEmpty() && a->shortcut()[0] == keys)
            return true;
    return false;
}

void KeyPresses::ForgetChord(int key, Qt::KeyboardModifiers modifiers)
{
    held_.removeOne(key);
    for (auto [modifier, modifierKey] : {std::pair{Qt::ShiftModifier, Qt::Key_Shift},
                                         {Qt::ControlModifier, Qt::Key_Control},
                                         {Qt::AltModifier, Qt::Key_Alt},
                                         {Qt::MetaModifier, Qt::Key_Meta}})
        if (modifiers & modifier)
            held_.removeOne(modifierKey);
}

bool KeyPresses::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: // the only sight of a key a shortcut takes
    case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (k->isAutoRepeat() || !InWindow(watched))
            break;
        if (event->type() == QEvent::ShortcutOverride && IsMenuShortcut(k->keyCombination()))
            ForgetChord(k->key(), k->modifiers());
        else if (!held_.contains(k->key()))
            held_.append(k->key());
        break;
    }
    case QEvent::KeyRelease: {
        // A text box takes its own releases (TakeRelease); a release in any
        // other control of the window just ends the key.
        const auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat() && !qobject_cast<TextBox*>(watched) && InWindow(watched))
            held_.removeOne(k->key());
        break;
    }
    case QEvent::WindowDeactivate:
        // Keys still held go on in another window; their releases there are
        // never seen, so nothing held before is trusted afterwards.
        if (watched == window_)
            held_.clear();
        break;
    default:
        break;
    }
    return false;
}

namespace {

// Whether a picture of this size (in device pixels), put at this corner,
// covers whole device pixels: only then does a copy give what painting
// there would.
bool OnDevicePixels(QPointF corner, QSizeF size)
{
    return corner == QPointF(corner.toPoint()) && size == QSizeF(size.toSize());
}

// QLineEdit keeps its text this far inside the contents, on either side.
constexpr int TextMargin = 2;

// QLineEdit's own test of whether a text this wide fits the text area
// without scrolling: its width, rounded, and a pixel for the cursor.
bool FitsWithoutScrolling(qreal textWidth, const QRect& textArea)
{
    return qRound(textWidth) + 1 <= textArea.width() - 2 * TextMargin;
}

// The style of the text boxes: the application's, except that a box's panel
// (its sunken frame and base, the costly part of painting one) is drawn once
// per size and state, onto the colour beneath the box, and copied from then
// on. Copying what was drawn onto the same colour gives the same pixels; where
// a copy could not land on whole device pixels the panel is drawn as usual.
class BoxStyle : public QProxyStyle {
public:
    explicit BoxStyle(QStyle* base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (element != PE_PanelLineEdit || !frame || !widget || !widget->parentWidget()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QWidget* beneath = widget->parentWidget();
        const QColor background = beneath->palette().color(beneath->backgroundRole());
        const qreal ratio = painter->device()->devicePixelRatio();
        const QPointF corner = painter->deviceTransform().map(QPointF(frame->rect.topLeft()));
        const QSizeF size = QSizeF(frame->rect.size()) * ratio;
        const bool whole = painter->deviceTransform().type() <= QTransform::TxScale && OnDevicePixels(corner, size);
        if (!whole) {
            painter->fillRect(frame->rect, background);
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const Key key{frame->rect.size(), int(frame->state), ratio, background.rgba(), frame->palette.cacheKey()};
        Panel* panel = std::find_if(panels_.begin(), panels_.end(), [&](const Panel& p) { return p.key == key; });
        if (panel == panels_.end()) {
            // A box is seen in a few states at most (focused or not, enabled).
            panel = &panels_[next_];
            next_ = (next_ + 1) % panels_.size();
            panel->key = key;
            panel->pixmap = QPixmap(size.toSize());
            panel->pixmap.setDevicePixelRatio(ratio);
            panel->pixmap.fill(background);
            QStyleOptionFrame at = *frame;
            at.rect.moveTo(0, 0);
            QPainter onPanel(&panel->pixmap);
            QProxyStyle::drawPrimitive(element, &at, &onPanel, widget);
        }
        painter->drawPixmap(frame->rect.topLeft(), panel->pixmap);
    }

private:
    struct Key {
        QSize size;
        int state = -1;
        qreal ratio = 0;
        QRgb background = 0;
        qint64 palette = 0;
        bool operator==(const Key&) const = default;
    };
    struct Panel {
        Key key;
        QPixmap pixmap;
    };
    mutable std::array<Panel, 4> panels_;
    mutable size_t next_ = 0;
};

} // namespace

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

void OptionButton::paintEvent(QPaintEvent* event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // Where the button draws anything in its present state, found by
    // drawing it once aside at the screen's scale; the focus frame is part
    // of that state.
    const qreal ratio = devicePixelRatioF();
    if (int(option.state) != inkState_ || size() != inkSize_ || ratio != inkRatio_) {
        QImage aside((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        aside.setDevicePixelRatio(ratio);
        aside.fill(Qt::transparent);
        QPainter painter(&aside);
        style()->drawControl(QStyle::CE_RadioButton, &option, &painter, this);
        painter.end();
        ink_ = QRect();
        for (int y = 0; y < aside.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(aside.constScanLine(y));
            for (int x = 0; x < aside.width(); ++x) {
                if (qAlpha(row[x]) == 0)
                    continue;
                // The button's pixels that this device pixel belongs to.
                const QPoint from(int(std::floor(x / ratio)), int(std::floor(y / ratio)));
                const QPoint to(int(std::ceil((x + 1) / ratio)) - 1, int(std::ceil((y + 1) / ratio)) - 1);
                ink_ |= QRect(from, to);
            }
        }
        inkState_ = int(option.state);
        inkSize_ = size();
        inkRatio_ = ratio;
    }
    // Without a background of its own, not painting leaves exactly what is
    // beneath, which is what painting there would show.
    if (!event->region().intersects(ink_))
        return;
    QRadioButton::paintEvent(event);
}

namespace {

// One style for every box: one panel cache and one base style between them.
QStyle* SharedBoxStyle()
{
    static QPointer<BoxStyle> style;
    if (!style) {
        // Over the application's own style, not over a proxy of it.
        const QStyle* base = QApplication::style();
        if (const auto* proxy = qobject_cast<const QProxyStyle*>(base))
            base = proxy->baseStyle();
        style = new BoxStyle(QStyleFactory::create(base->name()));
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// The pictures unfocused boxes were painted as, keyed by everything that
// shapes one; see TextBox::paintEvent. A box is a few kilobytes even at
// scale factor 2, so a megabyte holds every value the window shows often.
QCache<TextBox::PictureKey, QImage>& BoxPictures()
{
    static QCache<TextBox::PictureKey, QImage> pictures(1 << 20);
    return pictures;
}

// Where the cursor ends up once QLineEdit has been given a text that fits
// and has painted it, for boxes of one shape: a text that fits sits where
// the alignment puts it, whatever the scroll before, so this and the text
// settle the picture the text will paint. Boxes of one shape share it, as
// they share their pictures.
struct Settled {
    QString text;
    TextBox::Shape shape;
    bool operator==(const Settled&) const = default;
};

size_t qHash(const Settled& s, size_t seed = 0)
{
    return qHashRange(s.shape.begin(), s.shape.end(), qHash(s.text, seed));
}

QHash<Settled, QRect>& SettledCursors()
{
    static QHash<Settled, QRect> settled;
    return settled;
}

// Boxes whose text waits for QLineEdit: all are handed theirs together, once
// no box has had a new one for a moment. One timer for all of them, started
// once per pause rather than once per value.
class LateTexts : public QObject {
public:
    static LateTexts& Instance()
    {
        // Ends with the application, like the box style.
        static QPointer<LateTexts> late;
        if (!late) {
            late = new LateTexts;
            late->setParent(QCoreApplication::instance());
        }
        return *late;
    }

    void Add(TextBox* box)
    {
        if (!boxes_.contains(box))
            boxes_.append(box);
        sinceLast_.start();
        if (!timer_.isActive())
            timer_.start(kPause, this);
    }

    void CommitAll()
    {
        timer_.stop();
        const QList<QPointer<TextBox>> boxes = std::exchange(boxes_, {});
        for (TextBox* box : boxes)
            if (box)
                box->Commit();
    }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != timer_.timerId())
            return;
        const qint64 waited = sinceLast_.elapsed();
        if (waited < kPause) {
            timer_.start(int(kPause - waited), this);
            return;
        }
        CommitAll();
    }

private:
    // Short enough that a screen reader hears the value as the hand stops;
    // longer than the gap between two steps of a drag.
    static constexpr int kPause = 120;
    QList<QPointer<TextBox>> boxes_;
    QBasicTimer timer_;
    QElapsedTimer sinceLast_;
};

// Events a box takes without reading or changing its text or its look.
bool LeavesTextAlone(QEvent::Type type)
{
    switch (type) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Timer:
    case QEvent::MetaCall:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::MouseMove:
    case QEvent::ToolTip:
        return true;
    default:
        return false;
    }
}

} // namespace

TextBox::TextBox(QWidget* parent, KeyPresses* presses) : QLineEdit(parent), presses_(presses)
{
    setStyle(SharedBoxStyle());
    setAttribute(Qt::WA_OpaquePaintEvent);
    fontKey_ = font().key();
}

void TextBox::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // The font's description is long to write out: done once per font.
    if (event->type() == QEvent::FontChange)
        fontKey_ = font().key();
    cursorRects_.clear();
}

void TextBox::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    cursorRects_.clear();
}

void TextBox::setText(const QString& text)
{
    // Shown early: as a picture QLineEdit painted of this text, or else
    // painted here by QLineEdit's rules; see PaintFresh.
    if (!hasFocus() && !text.isEmpty() && CanPaintFresh()) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        const qreal ratio = devicePixelRatioF();
        const std::array<int, 3> atEnd{int(text.size()), -1, 0};
        const auto settled = SettledCursors().constFind({text, ShapeOf()});
        PictureKey key;
        if (settled != SettledCursors().constEnd())
            key = KeyOf(option, ratio, text, *settled, atEnd);
        if (settled == SettledCursors().constEnd() || !BoxPictures().contains(key))
            key = KeyOf(option, ratio, text, QRect(), atEnd);
        late_ = text;
        lateKey_ = std::move(key);
        update();
        LateTexts::Instance().Add(this);
        return;
    }
    late_.reset();
    QLineEdit::setText(text);
}

void TextBox::CommitAll()
{
    LateTexts::Instance().CommitAll();
}

void TextBox::Commit()
{
    if (!late_)
        return;
    const QString text = *std::exchange(late_, std::nullopt);
    QLineEdit::setText(text);
}

bool TextBox::event(QEvent* event)
{
    // Whatever would read the text, edit it or change the look the picture
    // was taken in gets QLineEdit up to date first.
    if (late_ && !LeavesTextAlone(event->type()))
        Commit();
    return QLineEdit::event(event);
}

bool TextBox::Fits(const QStyleOptionFrame& option, const QString& text) const
{
    return FitsWithoutScrolling(QFontMetricsF(font()).horizontalAdvance(text), TextArea(option));
}

QRect TextBox::TextArea(const QStyleOptionFrame& option) const
{
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this) - textMargins();
}

TextBox::Shape TextBox::ShapeOf() const
{
    const QRect contents = contentsRect();
    const QMargins margins = textMargins();
    return {int(echoMode()),   int(alignment()), int(hasFrame()),   int(layoutDirection()),
            contents.x(),      contents.y(),     contents.width(),  contents.height(),
            margins.left(),    margins.top(),    margins.right(),   margins.bottom(),
            int(std::lround(devicePixelRatioF() * 1000))};
}

QRect TextBox::CursorRectOf(const QString& text) const
{
    // Asking QLineEdit for it goes through the style and the text layout
    // on every paint. It changes with the text, the cursor, the box's
    // shape and the scroll; the scroll only changes while QLineEdit
    // paints, which clears these.
    const Shape shape = ShapeOf();
    if (shape != cursorShape_ || cursorRects_.size() > 512) {
        cursorRects_.clear();
        cursorShape_ = shape;
    }
    const std::pair<QString, int> key(text, cursorPosition());
    auto found = cursorRects_.constFind(key);
    if (found == cursorRects_.constEnd())
        found = cursorRects_.insert(key, cursorRect());
    return *found;
}

TextBox::PictureKey TextBox::KeyOf(const QStyleOptionFrame& option, qreal ratio, const QString& text, QRect cursor,
                                   std::array<int, 3> cursorAndSelection) const
{
    const QWidget* beneath = parentWidget();
    return {text,
            placeholderText(),
            fontKey_,
            size(),
            ratio,
            option.palette.cacheKey(),
            beneath ? beneath->palette().cacheKey() : 0,
            cursor,
            {cursorAndSelection[0], cursorAndSelection[1], cursorAndSelection[2], int(option.state),
             int(alignment()), int(echoMode()), int(hasFrame()), int(layoutDirection())}};
}

size_t qHash(const TextBox::PictureKey& k, size_t seed)
{
    size_t h = qHashMulti(seed, k.text, k.placeholder, k.font, k.size.width(), k.size.height(), k.ratio, k.palette,
                          k.beneath, k.cursor.x(), k.cursor.y(), k.cursor.width(), k.cursor.height());
    for (int v : k.numbers)
        h = qHashMulti(h, v);
    return h;
}

void TextBox::paintEvent(QPaintEvent* event)
{
    // Laying out and drawing a box's text is most of what a new value
    // costs, and the window shows the same few hundred values again and
    // again: an unfocused box whose picture was seen before is copied. The
    // picture is the very pixels painted, taken back from where they were
    // painted, so a copy can only differ if it lands differently: it is
    // used only on whole device pixels.
    //
    // QLineEdit scrolls its text by an amount it keeps between paints and
    // changes while painting; the cursor rectangle shows it. The key holds
    // it, and a copy is used only where painting left it as it was, so a
    // copy leaves the box exactly as a paint would.
    if (late_) {
        QPainter painter(this);
        if (ShowLate(painter, event->region()))
            return;
        painter.end();
        Commit();
    }
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QString shown = QLineEdit::text();
    const bool cacheable = !hasFocus() && !shown.isEmpty();
    PictureKey key;
    if (cacheable) {
        key = KeyOf(option, devicePixelRatioF(), shown, CursorRectOf(shown),
                    {cursorPosition(), selectionStart(), selectionLength()});
        if (const QImage* picture = BoxPictures().object(key)) {
            QPainter painter(this);
            if (WholePixels(painter)) {
                painter.drawImage(QPoint(0, 0), *picture);
                return;
            }
        }
    }
    QLineEdit::paintEvent(event);
    const bool scrolled = !cacheable || cursorRect() != key.cursor;
    if (scrolled)
        cursorRects_.clear();
    if (scrolled || !event->region().contains(rect()))
        return;
    QPainter painter(this);
    if (!Keep(painter, key))
        return;
    // As QLineEdit leaves a box it was given a text: the cursor at the end.
    if (key.numbers[0] == shown.size() && key.numbers[1] < 0 && Fits(option, shown)) {
        if (SettledCursors().size() > 4096)
            SettledCursors().clear();
        SettledCursors().insert({shown, ShapeOf()}, key.cursor);
    }
}

bool TextBox::ShowLate(QPainter& painter, const QRegion& region)
{
    if (!WholePixels(painter))
        return false;
    if (const QImage* picture = BoxPictures().object(lateKey_)) {
        painter.drawImage(QPoint(0, 0), *picture);
        return true;
    }
    // A picture QLineEdit painted, and gone since.
    if (!lateKey_.cursor.isNull())
        return false;
    QStyleOptionFrame option;
    initStyleOption(&option);
    if (!PaintFresh(painter, option, *late_))
        return false;
    if (region.contains(rect()))
        Keep(painter, lateKey_);
    return true;
}

bool TextBox::CanPaintFresh() const
{
    // The cases PaintFresh knows QLineEdit's rules for, on whole device
    // pixels of the window, where pictures can be kept and copied.
    const qreal ratio = devicePixelRatioF();
    return echoMode() == Normal && layoutDirection() == Qt::LeftToRight && inputMask().isEmpty() &&
           !testAttribute(Qt::WA_StyleSheet) &&
           OnDevicePixels(QPointF(mapTo(window(), QPoint(0, 0))) * ratio, QSizeF(size()) * ratio);
}

int TextBox::InkHeight(const QFontMetrics& metrics, const QString& text) const
{
    // The height of the text's ink, or a height as good for placing the
    // line, which is never shorter than the font: for a number, what all
    // digits and the sign cover together, found once per font, when that
    // is no taller than the font. Measuring each text shapes it again.
    static const QString numberCharacters = QStringLiteral("0123456789-");
    static QHash<std::pair<QString, int>, int> numbersInk;
    const bool number = std::all_of(text.begin(), text.end(), [](QChar c) { return numberCharacters.contains(c); });
    if (number) {
        const std::pair<QString, int> font(fontKey_, metrics.height());
        auto ink = numbersInk.constFind(font);
        if (ink == numbersInk.constEnd())
            ink = numbersInk.insert(font, metrics.boundingRect(numberCharacters).height());
        if (*ink <= metrics.height())
            return *ink;
    }
    return metrics.boundingRect(text).height();
}

bool TextBox::PaintFresh(QPainter& painter, const QStyleOptionFrame& option, const QString& text) const
{
    // What QLineEdit paints for an unfocused box it has just been given
    // this text: its panel, then the text laid out as QLineEdit lays it out
    // and placed by its rules (margins of 2 across and 1 down, the line as
    // tall as the text's ink or the font, whichever is taller). A text too
    // wide for the box scrolls by what was shown before, which is
    // QLineEdit's to know: that is left to it, and nothing is drawn.
    if (text.isRightToLeft())
        return false;
    const QRect contents = TextArea(option);
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = std::max(InkHeight(metrics, text), metrics.height());
    const Qt::Alignment align = QStyle::visualAlignment(Qt::LeftToRight, alignment());
    int top = contents.y() + (contents.height() - lineHeight + 1) / 2;
    if (align & Qt::AlignBottom)
        top = contents.y() + contents.height() - lineHeight - 1;
    else if (align & Qt::AlignTop)
        top = contents.y() + 1;
    const QRect line(contents.x() + TextMargin, top, contents.width() - 2 * TextMargin, lineHeight);

    QTextLayout layout(text, font());
    // As QLineEdit's: drawing then reuses the glyphs the layout shaped.
    layout.setCacheEnabled(true);
    QTextOption textOption;
    textOption.setTextDirection(Qt::LeftToRight);
    textOption.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(textOption);
    layout.beginLayout();
    const QTextLine laid = layout.createLine();
    layout.endLayout();
    if (!FitsWithoutScrolling(laid.naturalTextWidth(), contents))
        return false;
    const int widthUsed = qRound(laid.naturalTextWidth()) + 1;
    int scroll = 0;
    if (align & Qt::AlignRight)
        scroll = widthUsed - line.width() + 1;
    else if (align & Qt::AlignHCenter)
        scroll = (widthUsed - line.width()) / 2;
    const QPoint topLeft = line.topLeft() - QPoint(scroll, qRound(laid.ascent()) - metrics.ascent());

    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setClipRect(contents);
    painter.setPen(palette().text().color());
    layout.draw(&painter, topLeft, {}, contents);
    return true;
}

bool TextBox::Keep(QPainter& painter, const PictureKey& key) const
{
    // The engine paints on the window's backing store (or the picture of a
    // grab), not on the widget.
    const QPaintDevice* target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!target || target->devType() != QInternal::Image || !WholePixels(painter))
        return false;
    const qreal ratio = devicePixelRatioF();
    const auto* screen = static_cast<const QImage*>(target);
    const QPointF corner = painter.deviceTransform().map(QPointF(0, 0));
    const QRect area(corner.toPoint(), (QSizeF(size()) * ratio).toSize());
    if (!screen->rect().contains(area))
        return false;
    auto* picture = new QImage(screen->copy(area));
    picture->setDevicePixelRatio(ratio);
    const auto cost = static_cast<qsizetype>(picture->sizeInBytes());
    BoxPictures().insert(key, picture, cost);
    return true;
}

bool TextBox::WholePixels(const QPainter& painter) const
{
    const QTransform& t = painter.deviceTransform();
    return t.type() <= QTransform::TxScale &&
           OnDevicePixels(t.map(QPointF(0, 0)), QSizeF(size()) * devicePixelRatioF());
}

void TextBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    // A held key repeats presses but is one keystroke: it counts on its
    // final release only.
    if (event->isAutoRepeat())
        return;
    if (!presses_ || !presses_->TakeRelease(event->key()))
        return;
    emit keyReleased(event->key());
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or menu taking the focus is not the user leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::MenuBarFocusReason)
        return;
    emit focusLost();
}

ClientArea::ClientArea(QWidget* parent, const platform::Surface& surface) : QWidget(parent), surface_(surface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // One rectangle at a time: under a clip of many rectangles Qt draws the
    // image span by span, split over threads, which costs more than the
    // pixels themselves. Each pixel comes out the same either way.
    for (const QRect& r : event->region()) {
        painter.setClipRect(r);
        painter.drawImage(QPoint(0, 0), surface_.Image());
    }
}

int ButtonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

void ClientArea::TrackPointerOn(QWindow* window)
{
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (window_)
        window_->installEventFilter(this);
}

bool ClientArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            windowPosition_ = static_cast<QMouseEvent*>(event)->position();
            haveWindowPosition_ = true;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPointF ClientArea::PixelUnder(const QMouseEvent* event) const
{
    QPointF p = event->position();
    if (haveWindowPosition_ && window_ && window() && window()->windowHandle() == window_) {
        const QPointF precise = windowPosition_ - QPointF(mapTo(window(), QPoint(0, 0)));
        // Only a refinement of this very event: within the rounding.
        if (std::abs(precise.x() - p.x()) <= 0.5 && std::abs(precise.y() - p.y()) <= 0.5)
            p = precise;
    }
    return QPointF(std::floor(p.x()), std::floor(p.y()));
}

namespace {
int Shift(const QMouseEvent* e)
{
    int s = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        s |= 1;
    if (e->modifiers() & Qt::ControlModifier)
        s |= 2;
    if (e->modifiers() & Qt::AltModifier)
        s |= 4;
    return s;
}
} // namespace

void ClientArea::mousePressEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    emit mouseDown(ButtonBits(e->button()), Shift(e), float(p.x()), float(p.y()));
}

void ClientArea::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    emit mouseMoved(ButtonBits(e->buttons()), Shift(e), float(p.x()), float(p.y()));
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF p = PixelUnder(e);
    emit mouseUp(ButtonBits(e->button()), Shift(e), float(p.x()), float(p.y()));
}

} // namespace app
