// Per-event costs of the real window: each benchmark delivers the mouse or
// key events a user would cause and times the handlers' work up to the point
// where the window would be repainted. Repaints are asynchronous; pending
// events are drained only while the timer is paused.
#include <array>
#include <memory>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QWidget>

#include "app/Controls.h"
#include "app/Form1.h"
#include "app/SystemLook.h"

namespace {

enum Mode { Hue = 0, Saturation = 1, Brightness = 2 };

// A fresh window with its custom colours in a temporary folder.
class Window {
public:
    Window() : form_(std::make_unique<Form1>(dir_.path()))
    {
        QApplication::setActiveWindow(form_.get());
        Drain();
    }
    ~Window()
    {
        form_.reset();
        Drain();
    }

    Form1& f() { return *form_; }

    // Runs whatever the handlers left queued: the repaint, above all.
    static void Drain() { QApplication::processEvents(); }

    void Select(Mode m)
    {
        QRadioButton* const option[] = {form_->optH, form_->optS, form_->optB};
        option[m]->setChecked(true);
    }

    void Press(int x, int y) { Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton); }
    void Move(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Release(int x, int y) { Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton); }

    // One keystroke: the press edits the box, the release runs its handler.
    static void Key(QWidget* box, int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &release);
    }

private:
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local(x + 0.5, y + 0.5);
        QMouseEvent e(type, local, form_->Client->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(form_->Client, &e);
    }

    QTemporaryDir dir_;
    std::unique_ptr<Form1> form_;
};

// A benchmark whose events never reached the handlers would time nothing.
void ExpectRingAt(benchmark::State& state, const Form1& f, int x, int y)
{
    if (f.View().FieldX() != x || f.View().FieldY() != y)
        state.SkipWithError("the mouse events did not move the ring");
}
void ExpectMarksAt(benchmark::State& state, const Form1& f, int y)
{
    if (f.View().StripY() != static_cast<float>(y))
        state.SkipWithError("the mouse events did not move the strip marks");
}

// Every so many iterations the queued repaint is let through, off the clock,
// so the queue never grows and the timed work is the handlers' alone.
void DrainNow(benchmark::State& state)
{
    state.PauseTiming();
    Window::Drain();
    state.ResumeTiming();
}
constexpr int64_t DrainEvery = 256;

// Two points far apart, so each step moves the ring and changes the colour.
constexpr std::array<std::array<int, 2>, 2> FieldPoints{{{60, 200}, {210, 40}}};
// Two strip rows, so each step moves the marks and the hue.
constexpr std::array<int, 2> StripRows{60, 200};
constexpr int StripX = 284;

// --- Hue mode -----------------------------------------------------------

// A press in the field (the pick) and its release.
void BM_Hue_FieldPick(benchmark::State& state)
{
    Window w;
    int64_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = FieldPoints[i & 1];
        w.Press(x, y);
        w.Release(x, y);
        if (++i % DrainEvery == 0)
            DrainNow(state);
    }
    const auto [x, y] = FieldPoints[(i - 1) & 1];
    ExpectRingAt(state, w.f(), x, y);
}
BENCHMARK(BM_Hue_FieldPick);

// One move of a field drag.
void BM_Hue_FieldDragStep(benchmark::State& state)
{
    Window w;
    w.Press(FieldPoints[0][0], FieldPoints[0][1]);
    int64_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = FieldPoints[++i & 1];
        w.Move(x, y);
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    const auto [x, y] = FieldPoints[i & 1];
    ExpectRingAt(state, w.f(), x, y);
    w.Release(x, y);
}
BENCHMARK(BM_Hue_FieldDragStep);

// One move of a strip drag: marks, hue box and the mixed sample; no field.
void BM_Hue_StripDragStep(benchmark::State& state)
{
    Window w;
    w.Press(StripX, StripRows[0]);
    int64_t i = 0;
    for (auto _ : state) {
        w.Move(StripX, StripRows[++i & 1]);
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    ExpectMarksAt(state, w.f(), StripRows[i & 1]);
    w.Release(StripX, StripRows[i & 1]);
}
BENCHMARK(BM_Hue_StripDragStep);

// The release that ends a strip drag: the field rendered for the new hue,
// then the boxes and the sample from under the ring. The press before it is
// off the clock.
void BM_Hue_StripRelease(benchmark::State& state)
{
    Window w;
    int64_t i = 0;
    for (auto _ : state) {
        const int y = StripRows[++i & 1];
        state.PauseTiming();
        w.Press(StripX, y);
        if (i % DrainEvery == 0)
            Window::Drain();
        state.ResumeTiming();
        w.Release(StripX, y);
    }
    ExpectMarksAt(state, w.f(), StripRows[i & 1]);
}
BENCHMARK(BM_Hue_StripRelease);

// A typed hue: one keystroke in the hue box, alternately a "2" after the
// "1" and a Backspace, so the box holds 1 and 12 in turn (always valid, so
// no message box) and every release moves the strip and renders the field.
void BM_Hue_TypedHue(benchmark::State& state)
{
    Window w;
    app::TextBox* box = w.f().txtH;
    box->setFocus();
    box->setText(QStringLiteral("1"));
    int64_t i = 0;
    for (auto _ : state) {
        if (++i & 1)
            Window::Key(box, Qt::Key_2, QStringLiteral("2"));
        else
            Window::Key(box, Qt::Key_Backspace, QString());
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    if (box->text() != QLatin1String(i & 1 ? "12" : "1"))
        state.SkipWithError("the keystrokes did not reach the hue box");
}
BENCHMARK(BM_Hue_TypedHue);

// A typed saturation: moves the ring and reads one pixel.
void BM_Hue_TypedSaturation(benchmark::State& state)
{
    Window w;
    app::TextBox* box = w.f().txtS;
    box->setFocus();
    box->setText(QStringLiteral("5"));
    int64_t i = 0;
    for (auto _ : state) {
        if (++i & 1)
            Window::Key(box, Qt::Key_0, QStringLiteral("0"));
        else
            Window::Key(box, Qt::Key_Backspace, QString());
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    if (w.f().View().FieldX() != (i & 1 ? 138 : 23))
        state.SkipWithError("the keystrokes did not move the ring");
}
BENCHMARK(BM_Hue_TypedSaturation);

// --- Saturation and brightness modes --------------------------------------

// One move of a field drag: the pick and the strip rendered for it.
void BM_FieldDragStep(benchmark::State& state, Mode mode)
{
    Window w;
    w.Select(mode);
    Window::Drain();
    w.Press(FieldPoints[0][0], FieldPoints[0][1]);
    int64_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = FieldPoints[++i & 1];
        w.Move(x, y);
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    const auto [x, y] = FieldPoints[i & 1];
    ExpectRingAt(state, w.f(), x, y);
    w.Release(x, y);
}
BENCHMARK_CAPTURE(BM_FieldDragStep, Saturation, Saturation);
BENCHMARK_CAPTURE(BM_FieldDragStep, Brightness, Brightness);

// One move of a strip drag in these modes: marks, boxes and sample.
void BM_StripDragStep(benchmark::State& state, Mode mode)
{
    Window w;
    w.Select(mode);
    Window::Drain();
    w.Press(StripX, StripRows[0]);
    int64_t i = 0;
    for (auto _ : state) {
        w.Move(StripX, StripRows[++i & 1]);
        if (i % DrainEvery == 0)
            DrainNow(state);
    }
    ExpectMarksAt(state, w.f(), StripRows[i & 1]);
    w.Release(StripX, StripRows[i & 1]);
}
BENCHMARK_CAPTURE(BM_StripDragStep, Saturation, Saturation);
BENCHMARK_CAPTURE(BM_StripDragStep, Brightness, Brightness);

// --- Mode switches ---------------------------------------------------------

// A switch from one mode to another through its option button; the way
// back is off the clock.
void BM_ModeSwitch(benchmark::State& state, Mode from, Mode to)
{
    Window w;
    w.Select(from);
    Window::Drain();
    for (auto _ : state) {
        w.Select(to);
        state.PauseTiming();
        w.Select(from);
        Window::Drain();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_ModeSwitch, HueToSaturation, Hue, Saturation);
BENCHMARK_CAPTURE(BM_ModeSwitch, HueToBrightness, Hue, Brightness);
BENCHMARK_CAPTURE(BM_ModeSwitch, SaturationToHue, Saturation, Hue);
BENCHMARK_CAPTURE(BM_ModeSwitch, SaturationToBrightness, Saturation, Brightness);
BENCHMARK_CAPTURE(BM_ModeSwitch, BrightnessToHue, Brightness, Hue);
BENCHMARK_CAPTURE(BM_ModeSwitch, BrightnessToSaturation, Brightness, Saturation);

// --- With the repaint --------------------------------------------------------

// For scale: a field drag step in saturation mode followed by the repaint it
// asks for, all on the clock.
void BM_Sat_FieldDragStepAndRepaint(benchmark::State& state)
{
    Window w;
    w.Select(Saturation);
    Window::Drain();
    w.Press(FieldPoints[0][0], FieldPoints[0][1]);
    int64_t i = 0;
    for (auto _ : state) {
        const auto [x, y] = FieldPoints[++i & 1];
        w.Move(x, y);
        Window::Drain();
    }
    w.Release(FieldPoints[0][0], FieldPoints[0][1]);
}
BENCHMARK(BM_Sat_FieldDragStepAndRepaint);

// --- Start-up ----------------------------------------------------------------

// Constructing the window: controls, menus, the whole picker rendered and
// the window shown. Tearing it down is off the clock.
void BM_StartUp(benchmark::State& state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        auto form = std::make_unique<Form1>(dir.path());
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        form.reset();
        Window::Drain();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

QtMessageHandler qtHandler = nullptr;

// The offscreen platform warns on every window shown that it cannot pass
// size hints on; that says nothing about the figures.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

// The window on Qt's offscreen platform, with the style and font the
// program itself sets up.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(QuietOffscreen);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(app::WindowFont());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
