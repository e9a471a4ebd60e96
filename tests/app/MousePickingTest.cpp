#include <QAccessible>
#include <QRadioButton>

#include "PickerInvariants.h"
#include "WindowFixture.h"
#include "tests/support/Positions.h"

namespace {
} // namespace

class MousePickingTest : public WindowTest {
protected:
    void ExpectFieldPick(int x, int y, int32_t hue)
    {
        ASSERT_EQ(f().View().FieldX(), x);
        ASSERT_EQ(f().View().FieldY(), y);
        EXPECT_EQ(f().txtS->text().toInt(), expected::PercentOfFieldX(x)) << x << "," << y;
        EXPECT_EQ(f().txtB->text().toInt(), expected::PercentOfFieldY(y)) << x << "," << y;
        SCOPED_TRACE(::testing::Message() << "pick at " << x << "," << y);
        ExpectNewColor(expected::HueFieldPixel(hue, x, y));
    }
};

TEST_F(MousePickingTest, PressesOnTheFieldPickTheFieldColorAndMapTheBoxes)
{
    for (int y = 10; y <= 265; y += 17)
        for (int x = 10; x <= 265; x += 15) {
            Press(x, y);
            Release(x, y);
            ExpectFieldPick(x, y, Red);
        }
    Press(265, 265);
    ExpectFieldPick(265, 265, Red);
    Press(265, 10);
    EXPECT_EQ(f().txtS->text(), "100");
    EXPECT_EQ(f().txtB->text(), "100");
    EXPECT_EQ(f().txtRed->text(), "255");
    EXPECT_EQ(f().txtGreen->text(), "0");
    EXPECT_EQ(f().lblSelColor->BackColor(), Red);
    EXPECT_EQ(f().txtH->text(), "0") << "the hue box belongs to the strip in hue mode";
}

TEST_F(MousePickingTest, DragsBeyondEveryEdgeKeepTheRingInTheField)
{
    Press(100, 100);
    const struct {
        int x, y, ringX, ringY;
    } steps[] = {{-40, 100, 10, 100}, {-40, -40, 10, 10},   {100, -40, 100, 10}, {900, -40, 265, 10},
                 {900, 120, 265, 120}, {900, 900, 265, 265}, {50, 900, 50, 265},  {-5, 900, 10, 265}};
    for (const auto& s : steps) {
        Move(s.x, s.y);
        ExpectFieldPick(s.ringX, s.ringY, Red);
    }
    Move(900, 120);
    EXPECT_EQ(f().txtS->text(), "100");
    Move(120, 900);
    EXPECT_EQ(f().txtB->text(), "0");
    Release(120, 900);
    EXPECT_FALSE(f().FieldDragging());
}

TEST_F(MousePickingTest, OnlyTheLeftButtonAloneDrags)
{
    const QImage start = f().Surface().Image().copy();
    Press(100, 100, Qt::RightButton);
    Press(100, 100, Qt::MiddleButton);
    EXPECT_EQ(f().Surface().Image(), start);
    EXPECT_FALSE(f().FieldDragging());

    Press(100, 100);
    ExpectFieldPick(100, 100, Red);
    Move(150, 150, Qt::LeftButton | Qt::RightButton);
    ExpectFieldPick(100, 100, Red);
    // Any release ends the drag.
    Release(150, 150, Qt::RightButton);
    EXPECT_FALSE(f().FieldDragging());
    Move(200, 200);
    ExpectFieldPick(100, 100, Red);
}

TEST_F(MousePickingTest, FieldAndStripZonesHaveTheirExactBounds)
{
    const QImage start = f().Surface().Image().copy();
    for (auto [x, y] : {std::pair{266, 100}, {100, 266}, {9, 100}, {100, 9}, {303, 100}, {280, 268},
                        {280, 7}, {276, 100}, {350, 100}}) {
        Press(x, y);
        Release(x, y);
        EXPECT_EQ(f().Surface().Image(), start) << x << "," << y;
        EXPECT_EQ(f().txtH->text(), "0");
    }
    // Just inside the strip zone: the press clamps to the strip.
    Press(302, 8);
    EXPECT_TRUE(f().StripDragging());
    EXPECT_EQ(f().View().StripY(), 10.0f);
    EXPECT_EQ(f().txtH->text(), "360");
    Release(302, 8);
    Press(277, 267);
    EXPECT_EQ(f().View().StripY(), 265.0f);
    EXPECT_EQ(f().txtH->text(), "0");
    Release(277, 267);
}

TEST_F(MousePickingTest, StripDragMixesTheSampleAndRendersTheFieldOnRelease)
{
    // Move the ring off the corner first so the mix uses S and B below 100.
    Press(138, 138);
    Release(138, 138);
    const int S = f().txtS->text().toInt();
    const int B = f().txtB->text().toInt();
    const QString r = f().txtRed->text();

    for (int row : {137, 95, 10, 265, 180, 52}) {
        if (row == 137)
            Press(280, row);
        else
            Move(295, row);
        EXPECT_EQ(f().View().StripY(), float(row));
        EXPECT_EQ(f().txtH->text().toInt(), expected::HueOfStripRow(row));
        EXPECT_EQ(f().lblSelColor->BackColor(), expected::HueMixSample(expected::HueStripRow(row - 10), S, B)) << row;
        // The field and R, G, B wait for the release.
        EXPECT_EQ(f().txtRed->text(), r);
        EXPECT_EQ(Pixel(265, 20), expected::HueFieldPixel(Red, 265, 20));
    }
    Release(295, 52);
    EXPECT_FALSE(f().StripDragging());
    // The field of the strip colour at row 52, under one ring and one pair
    // of marks.
    EXPECT_TRUE(invariants::PickerIsClean(f()));
    const int32_t hue = expected::HueStripRow(52 - 10);
    ExpectNewColor(expected::HueFieldPixel(hue, 138, 138));
}

TEST_F(MousePickingTest, StripDragFollowsThePointerOutsideTheStrip)
{
    Press(285, 100);
    Move(10, -300);
    EXPECT_EQ(f().View().StripY(), 10.0f);
    EXPECT_EQ(f().txtH->text(), "360");
    Move(600, 5000);
    EXPECT_EQ(f().View().StripY(), 265.0f);
    EXPECT_EQ(f().txtH->text(), "0");
    EXPECT_EQ(f().View().FieldX(), 265) << "a strip drag never moves the ring";
    Release(600, 5000);
}

TEST_F(MousePickingTest, MixClampsTypedSaturationAndBrightness)
{
    f().txtS->setText(QStringLiteral("250"));
    f().txtB->setText(QStringLiteral("-1e300"));
    Press(280, 100);
    EXPECT_EQ(f().lblSelColor->BackColor(), expected::HueMixSample(expected::HueStripRow(90), 100, 0));
    f().txtS->setText(QStringLiteral("junk"));
    f().txtB->setText(QStringLiteral("1e400"));
    Move(280, 150);
    EXPECT_EQ(f().lblSelColor->BackColor(), expected::HueMixSample(expected::HueStripRow(140), 0, 100));
    Release(280, 150);
}

TEST_F(MousePickingTest, ValuesADragShowsReachScreenReadersAndTakeKeysAsShown)
{
    // A box shows each step's value at once; what screen readers read
    // catches up once the drag rests, the second time round too, when
    // every value has been shown before.
    const QList<app::TextBox*> boxes{f().txtH, f().txtS, f().txtB, f().txtRed, f().txtGreen, f().txtBlue};
    const auto heard = [](app::TextBox* box) {
        return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value);
    };
    for (int round = 0; round < 2; ++round) {
        Press(40, 40);
        for (int i = 1; i <= 30; ++i)
            Move(40 + 5 * i, 40 + 3 * i);
        Release(190, 130);
        for (app::TextBox* box : boxes)
            EXPECT_TRUE(QTest::qWaitFor([&] { return heard(box) == box->text(); }, 2000))
                << box->accessibleName().toStdString() << " reads " << heard(box).toStdString() << ", shows "
                << box->text().toStdString();
    }
    // A click and keys in a box the drag has just set edit what it shows.
    Press(60, 200);
    Move(64, 203);
    Release(64, 203);
    const QString shown = f().txtS->text();
    QTest::mouseClick(f().txtS, Qt::LeftButton);
    QTest::keyClick(f().txtS, Qt::Key_End);
    QTest::keyClick(f().txtS, Qt::Key_Backspace);
    QTest::keyClick(f().txtS, Qt::Key_5);
    EXPECT_EQ(heard(f().txtS), shown.chopped(1) + QLatin1Char('5'));
}
