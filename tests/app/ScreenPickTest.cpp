// Picking from the screen and copying the colour, with the desktop stood in
// for where the screen is read and the pointer held: the window's rules run
// as they are, on real events.
#include <cmath>

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include "MessageBoxWatcher.h"
#include "WindowFixture.h"
#include "app/ColorPortal.h"
#include "app/Magnifier.h"
#include "app/ScreenAccess.h"
#include "app/ScreenPicker.h"

// A named namespace: the fixture below holds these types.
namespace screen_pick_test {

// The stand-in screen: every pixel has its own colour; left of x 0 there
// is no screen.
std::optional<int32_t> ScreenColor(const QPointF& global)
{
    if (global.x() < 0)
        return std::nullopt;
    const int x = static_cast<int>(std::floor(global.x())), y = static_cast<int>(std::floor(global.y()));
    return color::RGB(x % 256, y % 256, (x / 256 + 7 * (y / 256)) % 256);
}

struct Holds {
    int grabs = 0;
    int releases = 0;
    QWindow* window = nullptr;
};

class FakeScreen : public app::ScreenAccess {
public:
    FakeScreen(Holds& holds, QString refusal) : holds_(holds), refusal_(std::move(refusal)) {}
    bool CanReadScreen() const override { return true; }
    QString Grab(QWindow* window) override
    {
        holds_.window = window;
        if (refusal_.isEmpty())
            ++holds_.grabs;
        return refusal_;
    }
    void Release(QWindow*) override { ++holds_.releases; }
    std::optional<int32_t> PixelAt(const QPointF& global) override { return ScreenColor(global); }

private:
    Holds& holds_;
    QString refusal_;
};

// What a pick from the screen may change and what it must leave alone.
struct Look {
    QImage surface;
    QString h, s, b, red, green, blue;
    int32_t sample, add;
};

QString Channel(int32_t value, int shift)
{
    return QString::number((value >> shift) & 0xFF);
}

} // namespace screen_pick_test

using namespace screen_pick_test;

class ScreenPickTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        UseDesktop(QString());
    }

    void UseDesktop(const QString& refusal)
    {
        f().ScreenPick->UseDesktop(std::make_unique<FakeScreen>(holds, refusal),
                                   std::make_unique<app::ColorPortal>());
    }

    Look Now() const
    {
        const Form1& w = *form;
        return {w.Surface().Image().copy(), w.txtH->text(),     w.txtS->text(),
                w.txtB->text(),             w.txtRed->text(),   w.txtGreen->text(),
                w.txtBlue->text(),          w.lblSelColor->BackColor(), w.lblADDColor->BackColor()};
    }

    // H, S, B, the picker (or panel) and the add sample are as in `before`.
    void ExpectUnmoved(const Look& before, const char* when)
    {
        const Look now = Now();
        EXPECT_EQ(now.h, before.h) << when;
        EXPECT_EQ(now.s, before.s) << when;
        EXPECT_EQ(now.b, before.b) << when;
        EXPECT_TRUE(now.surface == before.surface) << when << ": the surface changed";
        EXPECT_EQ(now.add, before.add) << when;
    }

    void ExpectShowing(int32_t color, const char* when)
    {
        EXPECT_EQ(f().lblSelColor->BackColor(), color) << when;
        EXPECT_EQ(f().txtRed->text(), Channel(color, 0)) << when;
        EXPECT_EQ(f().txtGreen->text(), Channel(color, 8)) << when;
        EXPECT_EQ(f().txtBlue->text(), Channel(color, 16)) << when;
    }

    void ExpectSampleAndChannelsOf(const Look& before, const char* when)
    {
        EXPECT_EQ(f().lblSelColor->BackColor(), before.sample) << when;
        EXPECT_EQ(f().txtRed->text(), before.red) << when;
        EXPECT_EQ(f().txtGreen->text(), before.green) << when;
        EXPECT_EQ(f().txtBlue->text(), before.blue) << when;
    }

    // Pointer events as the held pointer brings them: to the window, at
    // global positions anywhere on the screen.
    void SendToWindow(QEvent::Type type, QPointF global, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWindow* window = form->windowHandle();
        const QPointF local = global - QPointF(window->mapToGlobal(QPoint(0, 0)));
        QMouseEvent e(type, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window, &e);
    }
    void MoveTo(QPointF global) { SendToWindow(QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton); }
    void ClickAt(QPointF global, Qt::MouseButton button = Qt::LeftButton)
    {
        SendToWindow(QEvent::MouseButtonPress, global, button, button);
        SendToWindow(QEvent::MouseButtonRelease, global, button, Qt::NoButton);
    }

    // The real shortcut on the focused control; the pick starts once the
    // event loop runs.
    void StartWithKeys()
    {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(focus, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
    }

    Holds holds;
};

TEST_F(ScreenPickTest, MovesPreviewAndEscapePutsBackWhatTheyChanged)
{
    const Look before = Now();
    StartWithKeys();
    ASSERT_TRUE(f().ScreenPick->Holding());
    EXPECT_EQ(holds.grabs, 1);
    EXPECT_EQ(holds.window, form->windowHandle());

    for (QPointF p : {QPointF(1000.5, 700.25), QPointF(1234, 345), QPointF(12, 900)}) {
        MoveTo(p);
        ExpectShowing(*ScreenColor(p), "preview");
        ExpectUnmoved(before, "preview");
    }
    // Off the screens there is nothing to show: the last preview stays.
    MoveTo(QPointF(-5, 10));
    ExpectShowing(*ScreenColor(QPointF(12, 900)), "off the screens");
    // Keys go to no box, and the shortcut does not start a second pick.
    QTest::keyClicks(f().txtS, QStringLiteral("42"));
    EXPECT_EQ(f().txtS->text(), before.s);
    StartWithKeys();
    EXPECT_EQ(holds.grabs, 1);

    // Escape is also the window's Cancel key: it must end the pick only.
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(f().ScreenPick->Holding());
    EXPECT_EQ(holds.releases, 1);
    ExpectSampleAndChannelsOf(before, "after Escape");
    ExpectUnmoved(before, "after Escape");
}

TEST_F(ScreenPickTest, ALeftClickTakesThePixelAndTheHoldLastsToTheRelease)
{
    const Look before = Now();
    f().mnuEditPick_Click();
    MoveTo(QPointF(400, 300));
    // Pressed over the picker's own field: the screen's pixel is taken, the
    // picker does not see the press.
    const QPointF onField = QPointF(form->Client->mapToGlobal(QPoint(150, 80))) + QPointF(0.5, 0.5);
    SendToWindow(QEvent::MouseButtonPress, onField, Qt::LeftButton, Qt::LeftButton);
    ExpectShowing(*ScreenColor(onField), "taken");
    EXPECT_TRUE(f().ScreenPick->Holding()) << "the release is still to come";
    // Moves and keys before the release change nothing more.
    SendToWindow(QEvent::MouseMove, QPointF(700, 200), Qt::NoButton, Qt::LeftButton);
    QTest::keyClick(f().txtH, Qt::Key_Escape);
    ExpectShowing(*ScreenColor(onField), "after a move with the button held");
    SendToWindow(QEvent::MouseButtonRelease, onField, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(f().ScreenPick->Holding());
    EXPECT_EQ(holds.releases, 1);
    ExpectShowing(*ScreenColor(onField), "after the release");
    ExpectUnmoved(before, "taken");
    EXPECT_FALSE(f().FieldDragging());

    // Let go: presses reach the picker again.
    Press(150, 80);
    Release(150, 80);
    EXPECT_EQ(f().txtS->text(), QString::number((150 - 10) * 100 / 255));
}

TEST_F(ScreenPickTest, OtherButtonsAndUnreadablePixelsCancel)
{
    const Look before = Now();
    for (auto [button, where] : {std::pair{Qt::RightButton, QPointF(300, 300)}, {Qt::MiddleButton, QPointF(50, 60)},
                                 {Qt::LeftButton, QPointF(-1, 60)}}) {
        f().mnuEditPick_Click();
        MoveTo(QPointF(640, 480));
        ASSERT_EQ(f().lblSelColor->BackColor(), *ScreenColor(QPointF(640, 480)));
        ClickAt(where, button);
        EXPECT_FALSE(f().ScreenPick->Holding());
        ExpectSampleAndChannelsOf(before, "cancelled");
        ExpectUnmoved(before, "cancelled");
    }
    EXPECT_EQ(holds.grabs, 3);
    EXPECT_EQ(holds.releases, 3);
}

TEST_F(ScreenPickTest, InAPanelATakenColorIsPrintedLikeTheSamplesReadout)
{
    f().cmdPreset_Click();
    ASSERT_EQ(f().Panel().PresetMode(), Form1::PresetCustom);
    const Look before = Now();
    f().mnuEditPick_Click();
    MoveTo(QPointF(500, 20));
    ExpectUnmoved(before, "a preview prints no readout");
    const QPointF p(610.75, 33.5);
    ClickAt(p);
    ExpectShowing(*ScreenColor(p), "taken in the panel");
    const QImage printed = f().Surface().Image().copy();
    EXPECT_FALSE(printed == before.surface) << "no readout printed";
    // Clicking the sample prints the readout of the colour it shows.
    f().lblSelColor_Click();
    EXPECT_TRUE(f().Surface().Image() == printed);
    EXPECT_EQ(f().lblADDColor->BackColor(), before.add);
    EXPECT_EQ(f().Panel().PresetMode(), Form1::PresetCustom);
}

TEST_F(ScreenPickTest, ARefusedHoldIsReportedAndChangesNothing)
{
    UseDesktop(QStringLiteral("another program holds the pointer"));
    const Look before = Now();
    MessageBoxWatcher boxes;
    f().mnuEditPick_Click();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.captions[0], "Tinctara");
    EXPECT_EQ(boxes.texts[0],
              "Picking a colour from the screen is not available here: another program holds the pointer.");
    EXPECT_FALSE(f().ScreenPick->Holding());
    EXPECT_EQ(holds.releases, 0);
    ExpectSampleAndChannelsOf(before, "refused");
    ExpectUnmoved(before, "refused");
}

TEST_F(ScreenPickTest, CopyPutsTheNewColorsHexOnTheClipboardAndNothingElseChanges)
{
    f().mnuEditCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "#FF0000");

    // A colour taken from the screen, then the shortcut typed in the hue
    // box, whose handler runs on every key released there: the chord's
    // releases must not redo the hue and put the field's colour back.
    f().mnuEditPick_Click();
    const QPointF p(0xAB + 256 * 3, 0x0C); // red AB, green 0C, blue 03
    ClickAt(p);
    ASSERT_EQ(f().lblSelColor->BackColor(), color::RGB(0xAB, 0x0C, 0x03));
    f().txtH->setFocus();
    const Look before = Now();
    // Presses Control, Shift and C, and releases all three.
    QTest::keyClick(f().txtH, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "#AB0C03");
    ExpectSampleAndChannelsOf(before, "copied");
    ExpectUnmoved(before, "copied");

    // Typing goes on as before: the next key released in the box runs it.
    QTest::keyClick(f().txtH, Qt::Key_End);
    EXPECT_EQ(f().lblSelColor->BackColor(), Pixel(f().View().FieldX(), f().View().FieldY()));

    // What is no colour shows as black and is copied so.
    f().LoadColorDialog(-5);
    f().mnuEditCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "#000000");
}

TEST_F(WindowTest, TheEditMenuHoldsCopyAndPickAndTheBarKeepsItsHeight)
{
    const QList<QAction*> items = f().mnuEdit->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0], f().mnuEditCopy);
    EXPECT_EQ(items[1], f().mnuEditCopyAs->menuAction());
    EXPECT_EQ(items[2], f().mnuEditPaste);
    EXPECT_EQ(items[3], f().mnuEditPick);
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5], f().mnuEditContrast);
    EXPECT_EQ(f().mnuEditCopy->text(), "&Copy Colour");
    EXPECT_EQ(f().mnuEditCopy->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    EXPECT_EQ(f().mnuEditCopyAs->title(), "Copy &As");
    EXPECT_EQ(f().mnuEditPaste->text(), "&Paste Colour");
    EXPECT_EQ(f().mnuEditPaste->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    EXPECT_EQ(f().mnuEditPick->text(), "Pick from &Screen");
    EXPECT_EQ(f().mnuEditPick->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    EXPECT_EQ(f().mnuEditContrast->text(), QStringLiteral("Con&trast\u2026"));

    QMenuBar bare;
    bare.setFont(f().menuBar()->font());
    bare.addMenu(QStringLiteral("&File"));
    bare.addMenu(QStringLiteral("&About"));
    EXPECT_EQ(f().menuBar()->height(), bare.sizeHint().height());
    EXPECT_EQ(f().centralWidget()->size(), QSize(Form1::ClientWidth, Form1::ClientHeight));
}

TEST(ScreenPixels, EveryDevicePixelIsReadFromTheGrabThatHoldsIt)
{
    const QSize logical(40, 30);
    for (double factor : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        const int grabbed = static_cast<int>(std::lround(2 * factor));
        const int deviceWidth = static_cast<int>(std::lround(logical.width() * factor));
        for (int d = 0; d < deviceWidth; ++d) {
            // The pointer on the pixel's corner, as the display reports it,
            // and anywhere inside the pixel.
            for (double inside : {0.0, 0.5, 0.99}) {
                const double at = (d + inside) / factor;
                const app::PixelGrab plan = app::PlanPixelGrab(QPointF(at, 1.0 / factor), factor, logical);
                ASSERT_GE(plan.logical.x(), 0) << factor << " " << d;
                ASSERT_LE(plan.logical.x(), logical.width() - 2) << factor << " " << d;
                ASSERT_GE(plan.offset.x(), 0) << factor << " " << d;
                ASSERT_LT(plan.offset.x(), grabbed) << factor << " " << d;
                // The grab starts at the device pixel nearest its logical
                // position.
                EXPECT_EQ(std::lround(plan.logical.x() * factor) + plan.offset.x(), d) << factor << " " << inside;
                EXPECT_EQ(std::lround(plan.logical.y() * factor) + plan.offset.y(), 1) << factor;
            }
        }
    }
}

TEST(PortalAnswers, ChannelsFromZeroToOneBecomeBytes)
{
    EXPECT_EQ(app::PortalColor(0.2, 0.4, 0.8), color::RGB(51, 102, 204));
    EXPECT_EQ(app::PortalColor(0.0, 1.0, 0.5), color::RGB(0, 255, 128));
    EXPECT_EQ(app::PortalColor(-0.1, 1.7, 0.0), color::RGB(0, 255, 0));
    EXPECT_EQ(app::PortalColor(std::nan(""), 0.5, 0.5), std::nullopt);
    EXPECT_EQ(app::PortalColor(0.5, INFINITY, 0.5), std::nullopt);
    EXPECT_EQ(app::PortalColor(QVariantMap{}), std::nullopt);
    EXPECT_EQ(app::PortalColor(QVariantMap{{QStringLiteral("color"), QStringLiteral("red")}}), std::nullopt);
}

TEST(PortalAnswers, TheRequestPathIsMadeFromTheSenderAndTheToken)
{
    EXPECT_EQ(app::PortalRequestPath(QStringLiteral(":1.42"), QStringLiteral("tinctara_1_99")),
              "/org/freedesktop/portal/desktop/request/1_42/tinctara_1_99");
}

namespace screen_pick_test {

// A 64 x 48 screen whose pixel (x, y) is red x, green y: a square's mean
// is its middle, less what lies beyond the edge.
class EdgeScreen : public FakeScreen {
public:
    using FakeScreen::FakeScreen;
    static constexpr QRect Area{0, 0, 64, 48};
    QRect DeviceArea(QPoint) override { return Area; }
    std::optional<int32_t> PixelAt(const QPointF& global) override
    {
        const QPoint at(static_cast<int>(std::floor(global.x())), static_cast<int>(std::floor(global.y())));
        return Area.contains(at) ? FakeScreen::PixelAt(global) : std::nullopt;
    }
};

} // namespace screen_pick_test

TEST_F(ScreenPickTest, KeysAimOneDevicePixelAtATimeAndAveragesStopAtTheEdge)
{
    f().ScreenPick->UseDesktop(std::make_unique<EdgeScreen>(holds, QString()), std::make_unique<app::ColorPortal>());
    using S = app::pick::Sample;
    const struct {
        QPointF start;
        int samplePresses;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        S sample;
        QPoint aimed;
        int32_t taken;
    } rows[] = {
        {{5.5, 5.5}, 0, {{Qt::Key_Left, {}}, {Qt::Key_Left, {}}, {Qt::Key_Up, Qt::ShiftModifier}}, S::Pixel,
         {3, 0}, color::RGB(3, 0, 0)},
        // 0 and 1 across: 0.5, ties to even.
        {{1.5, 1.5}, 1, {{Qt::Key_Left, {}}, {Qt::Key_Left, {}}}, S::Square3, {0, 1}, color::RGB(0, 1, 0)},
        // The choice lasts: one more press is the 5 x 5; 44..47 down: 45.5.
        {{62.5, 46.5}, 1, {{Qt::Key_Right, Qt::ShiftModifier}}, S::Square5, {63, 46}, color::RGB(62, 46, 0)},
        {{30.5, 20.5}, 1, {{Qt::Key_Down, {}}, {Qt::Key_Down, {}}, {Qt::Key_Right, {}}}, S::Pixel, {31, 22},
         color::RGB(31, 22, 0)},
    };
    for (const auto& row : rows) {
        f().mnuEditPick_Click();
        ASSERT_TRUE(f().ScreenPick->Holding());
        MoveTo(row.start);
        for (int i = 0; i < row.samplePresses; ++i)
            QTest::keyClick(form.get(), Qt::Key_A);
        for (auto [key, mods] : row.keys)
            QTest::keyClick(form.get(), key, mods);
        EXPECT_EQ(f().ScreenPick->SampleInForce(), row.sample) << row.start.x();
        const app::Magnifier::View& shown = f().ScreenPick->Lens()->Shown();
        EXPECT_EQ(shown.centre, row.aimed) << row.start.x();
        EXPECT_EQ(shown.color, row.taken) << row.start.x();
        ExpectShowing(row.taken, "previewed");
        QTest::keyClick(form.get(), Qt::Key_Return);
        EXPECT_FALSE(f().ScreenPick->Holding());
        ExpectShowing(row.taken, "taken with Enter");
    }

    // Three magnifications, the wheel and + and - step through them.
    f().mnuEditPick_Click();
    const auto block = [&] { return f().ScreenPick->Lens()->Shown().block; };
    const auto Type = [&](int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &press);
    };
    Type(Qt::Key_Minus);
    EXPECT_EQ(block(), app::pick::BlockSizes.front());
    for (int i = 0; i < 3; ++i)
        Type(Qt::Key_Plus);
    EXPECT_EQ(block(), app::pick::BlockSizes.back());
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->windowHandle(), &wheel);
    EXPECT_EQ(block(), app::pick::BlockSizes[1]);
    QTest::keyClick(form.get(), Qt::Key_Escape);
}

TEST_F(ScreenPickTest, HidingTheWindowEndsThePickAndALostReleaseSwallowsNoPress)
{
    const Look before = Now();
    f().mnuEditPick_Click();
    MoveTo(QPointF(300, 300));
    form->hide();
    EXPECT_FALSE(f().ScreenPick->Holding());
    EXPECT_EQ(holds.releases, 1);
    ExpectSampleAndChannelsOf(before, "hidden mid-pick");
    form->show();

    // Taken with a press whose release never comes: the next press is an
    // ordinary one and picks on the field.
    f().mnuEditPick_Click();
    SendToWindow(QEvent::MouseButtonPress, QPointF(400, 300), Qt::LeftButton, Qt::LeftButton);
    Press(150, 80);
    Release(150, 80);
    EXPECT_FALSE(f().ScreenPick->Holding());
    EXPECT_EQ(f().txtS->text(), QString::number((150 - 10) * 100 / 255));
}

TEST(PickRules, TheMagnifierStaysOnTheScreenAndAwayFromThePointer)
{
    const QSize size(180, 204);
    for (const QRect screen : {QRect(0, 0, 1280, 1024), QRect(-1920, 100, 1920, 1080), QRect(0, 0, 420, 480)}) {
        for (int x = screen.left(); x <= screen.right(); x += 7) {
            for (int y = screen.top(); y <= screen.bottom(); y += 11) {
                const QRect placed(app::pick::PlaceMagnifier({x, y}, size, screen), size);
                ASSERT_TRUE(screen.contains(placed)) << x << "," << y;
                const int gap = app::pick::PointerGap;
                ASSERT_FALSE(placed.intersects(QRect(x - gap + 1, y - gap + 1, 2 * gap - 1, 2 * gap - 1))) << x << "," << y;
            }
        }
    }
    for (int block : app::pick::BlockSizes) {
        const int cells = app::pick::GridCells(block);
        EXPECT_EQ(cells % 2, 1);
        EXPECT_LE(cells * block, app::pick::GridSpan);
        EXPECT_GT((cells + 2) * block, app::pick::GridSpan);
    }
}
