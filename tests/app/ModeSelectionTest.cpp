#include <limits>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "MessageBoxWatcher.h"
#include "PickerInvariants.h"
#include "WindowFixture.h"
#include "tests/support/Positions.h"

using invariants::Mode;
using invariants::Readings;

namespace {
constexpr int32_t HalfRed = color::RGB(255, 127, 128);
} // namespace

class ModeSelectionTest : public WindowTest {
protected:
    QRadioButton* Option(Mode m)
    {
        return m == Mode::Hue ? f().optH : m == Mode::Saturation ? f().optS : f().optB;
    }
    void Select(Mode m)
    {
        QTest::mouseClick(Option(m), Qt::LeftButton);
        ASSERT_TRUE(Option(m)->isChecked()) << invariants::ModeName(m);
    }
    void SetBoxes(const QString& h, const QString& s, const QString& b)
    {
        f().txtH->setText(h);
        f().txtS->setText(s);
        f().txtB->setText(b);
    }
    Readings Read() const { return invariants::Read(*form); }
    int MarkRow() const { return expected::MarkRowOf(form->View().StripY()); }
};

TEST_F(ModeSelectionTest, SwitchFromStartPutsTheRingTopLeftAndRampsRed)
{
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(Mode::Hue);
        const Readings before = Read();
        Select(m);
        EXPECT_EQ(f().View().FieldX(), 10);
        EXPECT_EQ(f().View().FieldY(), 10);
        EXPECT_EQ(Pixel(10, 10), Red);
        // The box the strip stands for holds 100: the marks go to the top.
        EXPECT_EQ(f().View().StripY(), 10.0f);
        // The mode's field, and its strip from the red under the ring.
        EXPECT_TRUE(invariants::PickerIsClean(f()));
        EXPECT_EQ(Read(), before) << "sample and boxes keep their contents";
    }
}

TEST_F(ModeSelectionTest, BoxValuesPlaceRingAndMarksOnEverySwitch)
{
    // Hue across the field rounds (ties to even); the hue strip floors.
    const struct {
        const char* h;
        int fieldX;
        float hueStripY;
    } hues[] = {{"180", 138, 137}, {"12", 18, 256}, {"36", 36, 239}, {"360", 265, 10}, {"0", 10, 265}};
    for (const auto& c : hues) {
        SCOPED_TRACE(c.h);
        SetBoxes(c.h, "100", "100");
        for (Mode m : {Mode::Saturation, Mode::Brightness}) {
            Select(m);
            EXPECT_EQ(f().View().FieldX(), c.fieldX) << invariants::ModeName(m);
            EXPECT_TRUE(invariants::PickerIsClean(f()));
        }
        Select(Mode::Hue);
        EXPECT_EQ(f().View().StripY(), c.hueStripY);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
    }

    // Brightness down the saturation field, saturation down the brightness
    // field, and the strip box on its strip.
    const struct {
        const char* v;
        int fieldY;
        float stripY;
    } rows[] = {{"50", 138, 137.5f}, {"10", 240, 239.5f}, {"30", 188, 188.5f}, {"100", 10, 10}, {"0", 265, 265}};
    for (const auto& c : rows) {
        SCOPED_TRACE(c.v);
        SetBoxes("0", c.v, c.v);
        Select(Mode::Saturation);
        EXPECT_EQ(f().View().FieldY(), c.fieldY);
        EXPECT_EQ(f().View().StripY(), c.stripY);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
        Select(Mode::Brightness);
        EXPECT_EQ(f().View().FieldY(), c.fieldY);
        EXPECT_EQ(f().View().StripY(), c.stripY);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
        Select(Mode::Hue);
    }

    SetBoxes("0", "30", "100");
    Select(Mode::Saturation);
    Select(Mode::Hue);
    EXPECT_EQ(f().View().FieldX(), 86) << "86.5 rounds to even";
    EXPECT_TRUE(invariants::PickerIsClean(f()));
}

TEST_F(ModeSelectionTest, HalfSaturatedRedInBrightnessMode)
{
    SetBoxes("0", "50", "100");
    Select(Mode::Brightness);
    EXPECT_EQ(f().View().FieldX(), 10);
    EXPECT_EQ(f().View().FieldY(), 138);
    EXPECT_EQ(Pixel(10, 138), HalfRed);
    EXPECT_EQ(f().View().StripY(), 10.0f);
    EXPECT_EQ(f().lblSelColor->BackColor(), Red) << "a switch to this mode keeps the sample";
    EXPECT_TRUE(invariants::PickerIsClean(f()));
}

TEST_F(ModeSelectionTest, FieldPicksTakeTheStripColorAtTheMarks)
{
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(Mode::Hue);
        // Marks away from the top, so the strip colour differs from the
        // field colour.
        SetBoxes("0", "40", "60");
        Select(m);
        ASSERT_EQ(f().View().StripY(), m == Mode::Saturation ? 163.0f : 112.0f);
        app::TextBox* stripBox = m == Mode::Saturation ? f().txtS : f().txtB;
        app::TextBox* downBox = m == Mode::Saturation ? f().txtB : f().txtS;
        const QString stripText = stripBox->text();
        int differing = 0;
        // Segment ends on both sides, and the two columns whose ramp value is -3
        // (x 180 and x 10).
        for (int y : {10, 11, 75, 137, 138, 200, 264, 265})
            for (int x : {10, 11, 52, 53, 94, 95, 137, 138, 179, 180, 222, 223, 264, 265}) {
                Press(x, y);
                Release(x, y);
                ASSERT_EQ(f().View().FieldX(), x);
                ASSERT_EQ(f().View().FieldY(), y);
                EXPECT_EQ(f().txtH->text().toInt(), expected::HueOfFieldX(x)) << x << "," << y;
                EXPECT_EQ(downBox->text().toInt(), expected::PercentOfFieldY(y)) << x << "," << y;
                EXPECT_EQ(stripBox->text(), stripText) << "the strip's own box is not written";
                const int32_t base = expected::FieldPixel(m, x, y);
                const int32_t c = expected::StripLine(m, base, MarkRow() - 10);
                ExpectNewColor(c);
                differing += c != base;
                ASSERT_TRUE(invariants::PickerIsClean(f())) << x << "," << y;
            }
        EXPECT_GT(differing, 50) << "the new colour is the strip's, not the field's";

        Press(100, 100);
        Move(900, 900);
        EXPECT_EQ(f().View().FieldX(), 265);
        EXPECT_EQ(f().View().FieldY(), 265);
        EXPECT_EQ(f().txtH->text(), "360");
        EXPECT_EQ(downBox->text(), "0");
        Move(-50, -50);
        EXPECT_EQ(f().View().FieldX(), 10);
        EXPECT_EQ(f().View().FieldY(), 10);
        EXPECT_EQ(f().txtH->text(), "0");
        EXPECT_EQ(downBox->text(), "100");
        Release(-50, -50);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
    }
}

TEST_F(ModeSelectionTest, StripPicksWriteTheStripBoxAndTakeTheStripColor)
{
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(Mode::Hue);
        Select(m);
        Press(150, 90);
        Release(150, 90);
        const int32_t base = expected::FieldPixel(m, 150, 90);
        app::TextBox* stripBox = m == Mode::Saturation ? f().txtS : f().txtB;
        const QImage field = f().Surface().Image().copy(0, 0, 270, Form1::ClientHeight);
        for (int y = 5; y <= 270; ++y) {
            const Readings before = Read();
            const float stripY = f().View().StripY();
            const int x = 277 + (y * 7) % 26; // across the whole zone, 277..302
            Press(x, y);
            Release(x, y);
            if (y < 8 || y >= 268) {
                EXPECT_EQ(f().View().StripY(), stripY) << "outside the zone: " << y;
                EXPECT_EQ(Read(), before);
                continue;
            }
            const int row = std::clamp(y, 10, 265);
            ASSERT_EQ(f().View().StripY(), float(row)) << y;
            Readings want = before;
            (m == Mode::Saturation ? want.s : want.b) = QString::number(expected::PercentOfFieldY(row));
            const int32_t c = expected::StripLine(m, base, row - 10);
            want.red = QString::number(c & 0xFF);
            want.green = QString::number((c >> 8) & 0xFF);
            want.blue = QString::number((c >> 16) & 0xFF);
            want.sample = c;
            EXPECT_EQ(Read(), want) << "row " << y;
        }
        EXPECT_EQ(f().Surface().Image().copy(0, 0, 270, Form1::ClientHeight), field) << "strip picks leave the field";
        EXPECT_TRUE(invariants::PickerIsClean(f()));

        Press(285, 100);
        Move(10, -300);
        EXPECT_EQ(f().View().StripY(), 10.0f);
        EXPECT_EQ(stripBox->text(), "100");
        Move(600, 5000);
        EXPECT_EQ(f().View().StripY(), 265.0f);
        EXPECT_EQ(stripBox->text(), "0");
        ExpectNewColor(expected::StripLine(m, base, 255));
        EXPECT_EQ(f().View().FieldX(), 150) << "a strip drag never moves the ring";
        Release(600, 5000);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
    }
}

TEST_F(ModeSelectionTest, SwitchingBackToHueRendersStripAndField)
{
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(m);
        Press(200, 60);
        Release(200, 60);
        Press(280, 222);
        Release(280, 222);
        const Readings before = Read();
        Select(Mode::Hue);

        const int H = before.h.toInt();
        ASSERT_EQ(H, expected::HueOfFieldX(200));
        const float stripY = expected::HueStripYFloored(H);
        EXPECT_EQ(f().View().StripY(), stripY);
        EXPECT_EQ(f().View().FieldX(), expected::PercentFieldX(before.s.toInt()));
        EXPECT_EQ(f().View().FieldY(), expected::PercentFieldY(before.b.toInt()));
        // The spectrum, and the field of its colour at the marks.
        EXPECT_TRUE(invariants::PickerIsClean(f()));
        const int32_t hue = expected::HueStripRow(int(stripY) - 10);

        // The sample becomes the colour under the ring; the boxes stay.
        Readings want = before;
        want.sample = expected::HueFieldPixel(hue, f().View().FieldX(), f().View().FieldY());
        EXPECT_EQ(Read(), want);
    }
}

TEST_F(ModeSelectionTest, TypedValuesMoveNothingOutsideHueMode)
{
    MessageBoxWatcher boxes;
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(m);
        Press(120, 200);
        Release(120, 200);
        Press(280, 150);
        Release(280, 150);
        const QImage image = f().Surface().Image().copy();
        const picker::PickerState state = f().View().State();
        Readings want = Read();
        auto expectUnmoved = [&](const char* what) {
            EXPECT_EQ(f().Surface().Image(), image) << what;
            EXPECT_EQ(f().View().FieldX(), state.FieldX) << what;
            EXPECT_EQ(f().View().FieldY(), state.FieldY) << what;
            EXPECT_EQ(f().View().StripY(), state.StripY) << what;
            EXPECT_EQ(Read(), want) << what;
        };
        const int messages = boxes.Count();
        Type(f().txtS, QStringLiteral("37"));
        want.s = "37";
        expectUnmoved("S");
        Type(f().txtB, QStringLiteral("12"));
        want.b = "12";
        expectUnmoved("B");
        Type(f().txtH, QStringLiteral("200"));
        want.h = "200";
        expectUnmoved("H");
        EXPECT_EQ(boxes.Count(), messages);
        // The hue is still checked, and a negative one still reset.
        Type(f().txtH, QStringLiteral("400"));
        want.h = "400";
        expectUnmoved("H 400");
        EXPECT_EQ(boxes.Count(), messages + 1);
        Type(f().txtH, QStringLiteral("-5"));
        want.h = "0";
        expectUnmoved("H -5");
        EXPECT_EQ(boxes.Count(), messages + 2);
        Select(Mode::Hue);
        EXPECT_TRUE(invariants::PickerIsClean(f()));
    }
}

TEST_F(ModeSelectionTest, ReturningFromThePanelRendersTheSelectedMode)
{
    for (Mode m : {Mode::Saturation, Mode::Brightness}) {
        SCOPED_TRACE(invariants::ModeName(m));
        Select(m);
        Press(90, 180);
        Release(90, 180);
        SetBoxes("45", "35", "65");
        QTest::mouseClick(f().cmdPreset, Qt::LeftButton);
        ASSERT_NE(f().Panel().PresetMode(), Form1::PresetPicker);
        QTest::mouseClick(f().cmdPreset, Qt::LeftButton);
        ASSERT_EQ(f().Panel().PresetMode(), Form1::PresetPicker);
        EXPECT_EQ(f().View().FieldX(), expected::HueFieldX(45));
        EXPECT_EQ(f().View().FieldY(), expected::PercentFieldY(m == Mode::Saturation ? 65 : 35));
        EXPECT_EQ(f().View().StripY(), expected::PercentStripY(m == Mode::Saturation ? 35 : 65));
        EXPECT_TRUE(invariants::PickerIsClean(f()));
    }
}

TEST_F(ModeSelectionTest, NoBoxContentsMoveMarkersOutOfThePicker)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value;
    } contents[] = {{"1e308", 1e308},
                    {"-1e308", -1e308},
                    {"abc", 0},
                    {"", 0},
                    {"&HFFFFFFFF", 4294967295.0},
                    {"99999999999999999999999999999999", 99999999999999999999999999999999.0},
                    {"-99999999999999999999999999999999", -99999999999999999999999999999999.0},
                    {"1e400", inf},
                    {"-1e400", -inf},
                    {"2147483648", 2147483648.0},
                    {"-2147483649", -2147483649.0},
                    {"12abc", 12},
                    {"-", 0}};
    // Every ordered pair of modes once: S, B, H, B, S, H from hue mode.
    const Mode cycle[] = {Mode::Saturation, Mode::Brightness, Mode::Hue,
                          Mode::Brightness, Mode::Saturation, Mode::Hue};
    for (const auto& c : contents) {
        for (int where = 0; where < 4; ++where) {
            SCOPED_TRACE(::testing::Message() << "\"" << c.text << "\" in " << (where == 0 ? "every box" : "box ")
                                              << (where == 0 ? "" : where == 1 ? "H" : where == 2 ? "S" : "B"));
            const QString text = QString::fromLatin1(c.text);
            const double h = where == 0 || where == 1 ? c.value : 90;
            const double s = where == 0 || where == 2 ? c.value : 50;
            const double b = where == 0 || where == 3 ? c.value : 50;
            SetBoxes(where == 0 || where == 1 ? text : "90", where == 0 || where == 2 ? text : "50",
                     where == 0 || where == 3 ? text : "50");
            for (Mode m : cycle) {
                const Readings before = Read();
                Select(m);
                const auto& p = f().View().State();
                if (m == Mode::Hue) {
                    EXPECT_EQ(p.StripY, expected::HueStripYFloored(h));
                    EXPECT_EQ(p.FieldX, expected::PercentFieldX(s));
                    EXPECT_EQ(p.FieldY, expected::PercentFieldY(b));
                } else {
                    EXPECT_EQ(p.FieldX, expected::HueFieldX(h));
                    EXPECT_EQ(p.FieldY, expected::PercentFieldY(m == Mode::Saturation ? b : s));
                    EXPECT_EQ(p.StripY, expected::PercentStripY(m == Mode::Saturation ? s : b));
                }
                ASSERT_TRUE(invariants::PickerIsClean(f())) << invariants::ModeName(m);
                Readings want = before;
                if (m == Mode::Hue)
                    want.sample = expected::ColorUnderRing(invariants::SceneOf(f()));
                EXPECT_EQ(Read(), want) << invariants::ModeName(m);
            }
        }
    }
}
