// What each event paints: the client area only where the drawing changed,
// and a control only when what it shows changed. A whole-window repaint on
// every mouse step fails every case here.
#include <QHash>
#include <QLineEdit>
#include <QPaintEvent>
#include <QRadioButton>

#include "WindowFixture.h"

namespace {

// Adds up the paint events of the client area and everything on it.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* client) : client_(client)
    {
        client->installEventFilter(this);
        for (QWidget* w : client->findChildren<QWidget*>())
            w->installEventFilter(this);
    }

    // Client-area coordinates of everything painted, widget by widget; how
    // many paint events each widget had, and the most rectangles in one.
    QHash<QWidget*, QRegion> painted;
    QHash<QWidget*, int> paints;
    QHash<QWidget*, int> rects;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            auto* w = static_cast<QWidget*>(o);
            const QRegion region = static_cast<QPaintEvent*>(e)->region();
            painted[w] += region.translated(w->mapTo(client_, QPoint(0, 0)));
            ++paints[w];
            rects[w] = std::max(rects[w], int(region.rectCount()));
        }
        return false;
    }

private:
    QWidget* client_;
};

// What a control shows that can change during picking.
QString Shown(QWidget* w)
{
    if (auto* box = qobject_cast<app::TextBox*>(w))
        return box->text() + (box->hasFocus() ? QStringLiteral("|focus") : QString());
    if (auto* sample = dynamic_cast<app::ColorLabel*>(w))
        return QString::number(sample->BackColor());
    if (auto* option = qobject_cast<QRadioButton*>(w))
        return option->isChecked() ? QStringLiteral("set") : QStringLiteral("clear");
    return QString();
}

long long Area(const QRegion& r)
{
    long long a = 0;
    for (const QRect& q : r)
        a += static_cast<long long>(q.width()) * q.height();
    return a;
}

QRect RingBox(int x, int y)
{
    return QRect(x - 5, y - 5, 11, 11);
}

} // namespace

class RepaintTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        Settle();
    }

    // Lets every paint of the last event happen, the boxes' hand-over of
    // their texts to QLineEdit included, which would otherwise land in a
    // later event.
    static void Settle()
    {
        app::TextBox::CommitAll();
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    // Runs the event and checks what was painted: the controls whose text,
    // colour or state changed, each once, and the client area at most once,
    // in at most `maxRects` rectangles, over `allowed` (client pixels: where
    // the drawing changed) and less than a quarter more, where nearby
    // changes were joined into one rectangle.
    void ExpectPaintedOnly(const std::function<void()>& event, const QRegion& allowed, const char* what,
                           bool paintsSomething = true, int maxRects = 2)
    {
        QHash<QWidget*, QString> before;
        const QList<QWidget*> controls = f().Client->findChildren<QWidget*>();
        for (QWidget* w : controls)
            before[w] = Shown(w);
        PaintLog log(f().Client);
        event();
        Settle();

        QRegion changedControls;
        for (QWidget* w : controls)
            if (Shown(w) != before[w] && w->isVisible())
                changedControls += QRect(w->mapTo(f().Client, QPoint(0, 0)), w->size());

        if (paintsSomething) {
            ASSERT_FALSE(log.painted.isEmpty()) << what << ": nothing was painted at all";
        }
        for (auto it = log.painted.cbegin(); it != log.painted.cend(); ++it) {
            QWidget* w = it.key();
            EXPECT_EQ(log.paints[w], 1) << what << ": " << w->metaObject()->className() << " ("
                                        << w->accessibleName().toStdString() << ") painted more than once";
            QRegion outside = it.value() - allowed - changedControls;
            if (w == f().Client) {
                EXPECT_LE(log.rects[w], maxRects) << what << ": the client area in too many rectangles";
                EXPECT_LT(4 * Area(outside), Area(it.value())) << what << ": the client area painted too much";
                outside = QRegion();
            }
            EXPECT_TRUE(outside.isEmpty())
                << what << ": " << (w == f().Client ? "the client area" : w->metaObject()->className())
                << " (" << w->accessibleName().toStdString() << ") painted " << outside.boundingRect().width()
                << " x " << outside.boundingRect().height() << " at " << outside.boundingRect().x() << ","
                << outside.boundingRect().y() << " that did not change";
        }
    }
};

TEST_F(RepaintTest, PickingPaintsOnlyMarkersRendersAndChangedControls)
{
    // A field step in hue mode: the ring's old and new boxes.
    Press(100, 100);
    Settle();
    ExpectPaintedOnly([&] { Move(104, 101); }, QRegion(RingBox(100, 100)) + RingBox(104, 101), "field step", true,
                      1);
    Release(104, 101);

    // A strip step in hue mode: the marks beside the strip at the old and
    // the new row; the field waits for the release.
    Press(285, 200);
    Settle();
    const QRegion marks = QRegion(QRect(270, 198, 30, 4)) + QRect(270, 188, 30, 4);
    ExpectPaintedOnly([&] { Move(285, 190); }, marks, "strip step", true, 4);
    const QRect field(8, 8, 260, 260);
    ExpectPaintedOnly([&] { Release(285, 190); }, QRegion(field), "strip release");

    // A field step in saturation mode renders the strip as well.
    f().optS->setChecked(true);
    Press(60, 60);
    Settle();
    const QRect strip(275, 8, 19, 260);
    // The strip and the ring beside it: the band of the ring holds both.
    ExpectPaintedOnly([&] { Move(64, 64); }, QRegion(strip) + RingBox(60, 60) + RingBox(64, 64),
                      "saturation-mode field step", true, 4);
    Release(64, 64);
}

TEST_F(RepaintTest, TypedValuesAndSampleClicksPaintNoMoreThanTheyChange)
{
    const int x0 = f().View().FieldX(), y0 = f().View().FieldY();
    f().txtS->setFocus();
    f().txtS->setText(QStringLiteral("5"));
    Settle();
    ExpectPaintedOnly([&] { QTest::keyClick(f().txtS, Qt::Key_0); }, QRegion(RingBox(x0, y0)) + RingBox(138, y0),
                      "typed saturation");

    // The readout goes behind the value frame, where nothing is seen: at
    // most the controls over it may be painted again.
    const QRegion readout(QRect(312, 80, 90, 60));
    ExpectPaintedOnly([&] { QTest::mouseClick(f().lblOldColor, Qt::LeftButton); }, readout, "old sample click",
                      false);

    // Picking the colour the window already shows paints no control.
    Press(138, 10);
    Release(138, 10);
    Settle();
    const int32_t sample = f().lblSelColor->BackColor();
    PaintLog log(f().Client);
    f().LoadColorDialog(sample);
    f().LoadColorDialog(sample);
    Settle();
    EXPECT_TRUE(log.painted.isEmpty()) << "setting the sample to its own colour repainted something";
}

TEST_F(RepaintTest, BoxesLookLikeThePlainLineEditsTheyStandFor)
{
    // A plain line edit in the same frame, at the same place, with the same
    // text: what the style alone draws, which the cached panel and a box's
    // picture copied from a paint before must equal, for every value the
    // window writes.
    QStringList texts{QStringLiteral("-12"), QStringLiteral("1234567")};
    for (int v = 0; v <= 360; ++v)
        texts << QString::number(v);
    for (app::TextBox* box : {f().txtH, f().txtRed}) {
        QLineEdit plain(box->parentWidget());
        plain.setGeometry(box->geometry());
        plain.setTextMargins(box->textMargins());
        plain.setFont(box->font());
        int shownEarly = 0;
        for (const bool enabled : {true, false}) {
            for (const QString& text : texts) {
                box->setEnabled(enabled);
                plain.setEnabled(enabled);
                // QLineEdit holds another text, and this one has not been
                // painted in this state: the box paints it itself.
                box->setText(texts.front());
                box->Commit();
                box->setText(text);
                shownEarly += box->QLineEdit::text() != text;
                plain.setText(text);
                plain.raise();
                const QImage expected = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
                plain.lower();
                for (int pass = 0; pass < 4; ++pass) {
                    // Painted onto the window, where the box keeps what it
                    // painted, and copied from then on; then the same once
                    // QLineEdit has the text; then shown early again, from
                    // what QLineEdit painted.
                    if (pass == 1)
                        box->repaint();
                    if (pass == 2) {
                        box->Commit();
                        box->repaint();
                    }
                    if (pass == 3) {
                        box->setText(texts.front());
                        box->Commit();
                        box->setText(text);
                    }
                    const QImage drawn = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
                    EXPECT_EQ(drawn, expected) << box->accessibleName().toStdString() << " " << text.toStdString()
                                               << (enabled ? "" : " disabled") << " pass " << pass;
                    EXPECT_EQ(box->text(), text);
                }
            }
        }
        EXPECT_GT(shownEarly, 700) << box->accessibleName().toStdString() << ": no text was shown before QLineEdit had it";
        // QLineEdit, and the screen readers that ask it, catch up once the
        // values rest; focus or a key reaching the box does so at once.
        box->setEnabled(true);
        const QString a = QStringLiteral("77"), b = QStringLiteral("78");
        for (const QString& t : {a, b, a}) {
            box->setText(t);
            box->repaint();
            box->Commit();
        }
        box->setText(b);
        EXPECT_EQ(box->QLineEdit::text(), a);
        EXPECT_TRUE(QTest::qWaitFor([&] { return box->QLineEdit::text() == b; }, 2000));
        box->setText(a);
        EXPECT_EQ(box->QLineEdit::text(), b);
        box->setFocus();
        EXPECT_EQ(box->QLineEdit::text(), a);
        box->clearFocus();
    }
}
