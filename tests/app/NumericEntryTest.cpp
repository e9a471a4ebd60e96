#include <QRadioButton>
#include <QTest>

#include "MessageBoxWatcher.h"
#include "PickerInvariants.h"
#include "WindowFixture.h"

class NumericEntryTest : public WindowTest {
protected:
    // The hue mode's picture with the marks at `row`, the field for the
    // spectrum's colour on that row and the ring where it stands.
    void ExpectPickerAt(int row)
    {
        expected::PickerScene scene;
        scene.hue = expected::HueStripRow(row - expected::StripTop);
        scene.ringX = f().View().FieldX();
        scene.ringY = f().View().FieldY();
        scene.markRow = row;
        EXPECT_TRUE(expected::SameRegion(f().Surface(), expected::PickerPicture(scene, expected::PaletteColors()),
                                         invariants::PickerArea));
    }
    void ExpectSampleUnderRing() { ExpectNewColor(Pixel(f().View().FieldX(), f().View().FieldY())); }
};

TEST_F(NumericEntryTest, TypedHueMovesTheStripAndRendersTheField)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("180"));
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(f().View().StripY(), 137.5f);
    // The marks and the field follow the strip pixel nearest to 137.5: row 138.
    ExpectPickerAt(138);
    ExpectSampleUnderRing();
    EXPECT_EQ(f().txtH->text(), "180");

    Type(f().txtH, QStringLiteral("1"));
    EXPECT_EQ(f().View().StripY(), 264.29166f);
    Type(f().txtH, QStringLiteral("360"));
    EXPECT_EQ(f().View().StripY(), 10.0f);
    ExpectPickerAt(10);
    Type(f().txtH, QStringLiteral("12abc"));
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_FLOAT_EQ(f().View().StripY(), float(265 - 12 * 255.0 / 360));
}

TEST_F(NumericEntryTest, HueOutsideTheRangeBringsTheMessage)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("365"));
    ASSERT_EQ(boxes.Count(), 1) << "only the release of the 5 fails";
    EXPECT_EQ(boxes.texts[0], "Enter an Integer Value Between 0 and 360");
    EXPECT_EQ(boxes.captions[0], "Tinctara");
    EXPECT_EQ(boxes.icons[0], QMessageBox::NoIcon);
    EXPECT_EQ(boxes.buttonCount, 1);
    // Above 360 the marks stay at the top of the strip, and the field shows
    // the hue found there.
    EXPECT_EQ(f().View().StripY(), 10.0f);
    ExpectPickerAt(10);
    EXPECT_EQ(f().txtH->text(), "365");
    EXPECT_EQ(f().focusWidget(), f().txtH);
}

TEST_F(NumericEntryTest, NegativeHueIsResetToZero)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("-"));
    EXPECT_EQ(boxes.Count(), 0) << "a lone minus reads 0";
    QTest::keyClicks(f().txtH, QStringLiteral("5"));
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(f().txtH->text(), "0");
    EXPECT_EQ(f().View().StripY(), 265.0f);
}

TEST_F(NumericEntryTest, FractionalHueWarnsAndStillMoves)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("12.5"));
    // "12." reads 12 and passes; "12.5" fails.
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(f().View().StripY(), 256.14584f);
    ExpectPickerAt(256);
}

TEST_F(NumericEntryTest, EmptyHueMovesTheStripToItsBottom)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("90"));
    f().txtH->selectAll();
    QTest::keyClick(f().txtH, Qt::Key_Backspace);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(f().txtH->text(), "");
    EXPECT_EQ(f().View().StripY(), 265.0f);
}

TEST_F(NumericEntryTest, SaturationAndBrightnessMoveTheRing)
{
    Type(f().txtS, QStringLiteral("50"));
    EXPECT_EQ(f().View().FieldX(), 138);
    ExpectSampleUnderRing();
    Type(f().txtS, QStringLiteral("30"));
    EXPECT_EQ(f().View().FieldX(), 86);
    Type(f().txtB, QStringLiteral("50"));
    EXPECT_EQ(f().View().FieldY(), 138);
    ExpectSampleUnderRing();
    EXPECT_EQ(f().lblSelColor->BackColor(), expected::HueFieldPixel(expected::Rgb(255, 0, 0), 86, 138));

    // Floor one way, round the other: 30 reads back as 29.
    Press(86, 138);
    Release(86, 138);
    EXPECT_EQ(f().txtS->text(), "29");
    EXPECT_EQ(f().txtB->text(), "49");
}

TEST_F(NumericEntryTest, NoTypedNumberMovesTheRingOutOfTheField)
{
    MessageBoxWatcher boxes;
    const std::pair<const char*, int> sat[] = {{"1e308", 265},     {"-1e308", 10},        {"99999999999999999999", 265},
                                               {"-7", 10},         {"&HFFFF", 265},      {"1e99999", 265},
                                               {"  1  0  ", 36},  {"&O17", 48},          {"abc", 10}};
    for (const auto& [text, x] : sat) {
        Type(f().txtS, QString::fromLatin1(text));
        EXPECT_EQ(f().View().FieldX(), x) << text;
        ExpectSampleUnderRing();
    }
    for (const auto& [text, y] : {std::pair{"1e308", 10}, {"-1e308", 265}, {"150", 10}, {"-50", 265}}) {
        Type(f().txtB, QString::fromLatin1(text));
        EXPECT_EQ(f().View().FieldY(), y) << text;
    }
    for (const char* text : {"1e308", "-1e308", "99999999999", "-99999999999", "1e400"}) {
        Type(f().txtH, QString::fromLatin1(text));
        EXPECT_GE(f().View().StripY(), 10.0f) << text;
        EXPECT_LE(f().View().StripY(), 265.0f) << text;
    }
    EXPECT_GT(boxes.Count(), 0);
}

TEST_F(NumericEntryTest, LeavingAWrongHueKeepsTheFocus)
{
    MessageBoxWatcher boxes;
    f().txtH->setFocus();
    f().txtH->setText(QStringLiteral("400"));
    f().txtS->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(boxes.Count(), 1);
    QTRY_COMPARE(f().focusWidget(), f().txtH);
    // The message box taking the focus is not the user leaving the box: one
    // message only, however long we wait.
    QTest::qWait(100);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(f().txtH->text(), "400") << "leaving resets nothing";

    f().txtH->setText(QStringLiteral("40"));
    f().txtS->setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(f().focusWidget(), f().txtS);
}

TEST_F(NumericEntryTest, ReleasesRunTheHandlerWhenTheirPressReachedTheWindow)
{
    MessageBoxWatcher boxes;
    f().txtH->setFocus();
    f().txtH->setText(QStringLiteral("400"));
    // The release of the key that closed a message box lands in the box.
    QTest::keyRelease(f().txtH, Qt::Key_Return);
    // A key pressed in another window, released here.
    QLineEdit elsewhere;
    QTest::keyPress(&elsewhere, Qt::Key_Space);
    QTest::keyRelease(f().txtH, Qt::Key_Space);
    // The releases of a held key that only repeat it.
    QTest::keyPress(f().txtH, Qt::Key_Right);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f().txtH, &repeat);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(f().View().StripY(), 265.0f);
    // Held while the window lost the focus to another: its release may come
    // from anywhere.
    QTest::keyPress(f().txtS, Qt::Key_Shift);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&f(), &deactivate);
    QTest::keyRelease(f().txtH, Qt::Key_Shift);
    EXPECT_EQ(boxes.Count(), 0);

    // Tab pressed in the saturation box moves the focus on and is released
    // in the hue box: the hue box's handler runs.
    f().txtH->setText(QStringLiteral("180"));
    f().txtS->setFocus();
    QTest::keyPress(f().txtS, Qt::Key_Tab);
    ASSERT_EQ(f().focusWidget(), f().txtH);
    QTest::keyRelease(f().txtH, Qt::Key_Tab);
    EXPECT_EQ(f().View().StripY(), 137.5f);
    // And the other way round: pressed in the hue box, released in the
    // saturation box.
    f().txtS->setText(QStringLiteral("50"));
    QTest::keyPress(f().txtH, Qt::Key_Shift);
    QTest::keyRelease(f().txtS, Qt::Key_Shift);
    EXPECT_EQ(f().View().FieldX(), 138);
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(NumericEntryTest, TypingInTheChannelBoxesChangesNothing)
{
    const QImage before = f().Surface().Image().copy();
    Type(f().txtRed, QStringLiteral("12"));
    Type(f().txtBlue, QStringLiteral("999"));
    EXPECT_EQ(f().Surface().Image(), before);
    EXPECT_EQ(f().lblSelColor->BackColor(), color::RGB(255, 0, 0));
}

TEST_F(NumericEntryTest, MenusAndMessageBoxesTakingTheFocusAreNotLeavingTheBox)
{
    MessageBoxWatcher boxes;
    f().txtH->setFocus();
    f().txtH->setText(QStringLiteral("400"));
    for (Qt::FocusReason reason : {Qt::MenuBarFocusReason, Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(f().txtH, &out);
    }
    QTest::qWait(50);
    EXPECT_EQ(boxes.Count(), 0);
}
