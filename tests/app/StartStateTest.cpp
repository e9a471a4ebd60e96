#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFrame>

#include "WindowFixture.h"
#include "app/SystemLook.h"
#include "tests/support/Compare.h"
#include "tests/support/Palette.h"
#include "tests/support/Picker.h"

namespace {
struct Geometry {
    QWidget* w;
    QWidget* parent;
    QRect rect;
};
} // namespace

TEST_F(WindowTest, BoxesAndSamplesShowPureRedAtStart)
{
    EXPECT_EQ(f().txtH->text(), "0");
    EXPECT_EQ(f().txtS->text(), "100");
    EXPECT_EQ(f().txtB->text(), "100");
    EXPECT_EQ(f().txtRed->text(), "255");
    EXPECT_EQ(f().txtGreen->text(), "0");
    EXPECT_EQ(f().txtBlue->text(), "0");
    EXPECT_EQ(f().lblSelColor->BackColor(), color::RGB(255, 0, 0));
    EXPECT_EQ(f().lblOldColor->BackColor(), color::RGB(255, 0, 0));
    EXPECT_TRUE(f().optH->isChecked());
    EXPECT_FALSE(f().optS->isChecked());
    EXPECT_FALSE(f().optB->isChecked());
    // The pixel under the ring's centre agrees with the boxes.
    EXPECT_EQ(Pixel(265, 10), color::RGB(255, 0, 0));
    EXPECT_EQ(f().View().FieldX(), 265);
    EXPECT_EQ(f().View().FieldY(), 10);
    EXPECT_EQ(f().View().StripY(), 265.0f);
    EXPECT_EQ(f().Panel().PresetMode(), Form1::PresetPicker);
    EXPECT_EQ(f().Panel().SelectedCell(), 1);
    EXPECT_EQ(f().Surface().ForeColor, 0);
}

// Right after start-up, every pixel of the drawing surface: the square of
// pure red with the ring at its top-right corner, the spectrum with the
// marks at its bottom, both frames in the desktop's 3-D colours and the
// background everywhere else.
TEST_F(WindowTest, StartUpPictureEveryPixel)
{
    EXPECT_TRUE(expected::SameImage(f().Surface(), expected::PickerPicture({}, expected::PaletteColors())));
}

TEST_F(WindowTest, ControlsStandAtTheirPlaces)
{
    QWidget* c = f().Client;
    const Geometry table[] = {
        {f().cmdOK, c, {370, 176, 55, 27}},   {f().fraAdd, c, {302, 204, 65, 31}},
        {f().lblADDColor, f().fraAdd, {2, 8, 57, 23}}, {f().cmdPreset, c, {370, 208, 55, 27}},
        {f().cmdADD, c, {304, 240, 57, 27}},     {f().cmbPreset, c, {310, 144, 115, 21}},
        {f().fraSamples, c, {308, 2, 113, 67}},      {f().lblOld, f().fraSamples, {70, 10, 19, 13}},
        {f().lblOldColor, f().fraSamples, {57, 24, 48, 29}}, {f().lblNew, f().fraSamples, {20, 10, 31, 13}},
        {f().lblSelColor, f().fraSamples, {8, 24, 49, 29}}, {f().fraValues, c, {306, 64, 137, 149}},
        {f().txtBlue, f().fraValues, {92, 72, 25, 19}}, {f().txtGreen, f().fraValues, {92, 52, 25, 19}},
        {f().txtRed, f().fraValues, {92, 32, 25, 19}}, {f().txtH, f().fraValues, {30, 32, 25, 19}},
        {f().txtS, f().fraValues, {30, 52, 25, 19}}, {f().txtB, f().fraValues, {30, 72, 25, 19}},
        {f().optH, f().fraValues, {0, 34, 31, 17}},  {f().optS, f().fraValues, {0, 54, 31, 17}},
        {f().optB, f().fraValues, {0, 74, 33, 17}},  {f().lblR, f().fraValues, {80, 34, 13, 15}},
        {f().lblG, f().fraValues, {80, 54, 15, 15}}, {f().lblB, f().fraValues, {80, 74, 13, 15}},
        {f().lblS, f().fraValues, {56, 54, 11, 13}}, {f().lblBB, f().fraValues, {56, 74, 13, 17}},
        {f().lblH, f().fraValues, {56, 32, 7, 11}},  {f().cmdCancel, c, {370, 240, 55, 27}},
    };
    for (const Geometry& g : table) {
        EXPECT_EQ(g.w->parentWidget(), g.parent) << g.w->accessibleName().toStdString();
        EXPECT_EQ(g.w->geometry(), g.rect) << g.w->accessibleName().toStdString();
    }
    EXPECT_EQ(f().Client->size(), QSize(434, 275));
    EXPECT_EQ(f().centralWidget(), f().Client);
    EXPECT_EQ(f().minimumSize(), f().maximumSize()) << "the window cannot be resized";
    EXPECT_EQ(f().windowTitle(), "Tinctara");

    // Shown and hidden at start.
    EXPECT_TRUE(f().fraValues->isVisible());
    EXPECT_FALSE(f().cmbPreset->isVisible());
    EXPECT_FALSE(f().cmdADD->isVisible());
    EXPECT_FALSE(f().lblADDColor->isVisible());
    EXPECT_EQ(f().cmbPreset->currentIndex(), -1);
    EXPECT_EQ(f().cmbPreset->count(), 2);
    EXPECT_EQ(f().cmbPreset->itemText(0), "Custom...");
    EXPECT_EQ(f().cmbPreset->itemText(1), "Safe Palette (216)");
    EXPECT_EQ(f().cmbPreset->placeholderText(), "Safe Colors");

    // OK and Preset stay clickable where the value frame overlaps them.
    EXPECT_EQ(c->childAt(372, 178), f().cmdOK);
    EXPECT_EQ(c->childAt(372, 210), f().cmdPreset);
}

TEST_F(WindowTest, CaptionsToolTipsAndAccessibleNames)
{
    EXPECT_EQ(f().cmdOK->text(), "O&K");
    EXPECT_EQ(f().cmdCancel->text(), "&Cancel");
    EXPECT_EQ(f().cmdPreset->text(), "&Preset");
    EXPECT_EQ(f().cmdADD->text(), " << Add    ");
    EXPECT_EQ(f().optH->text(), "H:");
    EXPECT_EQ(f().optS->text(), "S:");
    EXPECT_EQ(f().optB->text(), "B:");
    EXPECT_EQ(f().lblH->text(), QString::fromUtf8("\u00B0"));
    EXPECT_EQ(f().lblS->text(), "%");
    EXPECT_EQ(f().lblNew->text(), "New");
    EXPECT_EQ(f().lblOld->text(), "Old");

    const std::pair<QWidget*, const char*> named[] = {
        {f().txtH, "Hue"},        {f().txtS, "Saturation"}, {f().txtB, "Brightness"},
        {f().txtRed, "Red"},       {f().txtGreen, "Green"},     {f().txtBlue, "Blue"},
        {f().optH, "Hue"},        {f().optS, "Saturation"}, {f().optB, "Brightness"},
        {f().lblR, "Red"},        {f().lblG, "Green"},      {f().lblB, "Blue"},
        {f().cmdOK, "OK"},     {f().cmdCancel, "Cancel"}, {f().cmdPreset, "Preset"},
        {f().cmdADD, "<< Add"},   {f().lblSelColor, "New colour"}, {f().lblOldColor, "Old colour"},
        {f().lblADDColor, "Colour to add"}, {f().lblNew, "New"}, {f().lblOld, "Old"},
    };
    for (const auto& [w, name] : named)
        EXPECT_EQ(w->accessibleName(), name);
    for (QWidget* w : {f().txtH, f().txtS, f().txtB, f().txtRed, f().txtGreen, f().txtBlue})
        EXPECT_EQ(w->toolTip(), w->accessibleName());

    // Tab order follows the tab indexes of the focusable controls.
    const QWidget* order[] = {f().cmdOK, f().cmdCancel, f().cmdPreset, f().optB, f().optS,
                              f().optH,     f().txtB,     f().txtS,     f().txtH, f().txtRed,
                              f().txtGreen,    f().txtBlue};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i << " " << next->accessibleName().toStdString() << " "
                                      << next->metaObject()->className();
    }

    const QList<QAction*> menus = f().menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Edit");
    EXPECT_EQ(menus[2]->text(), "&About");
    EXPECT_EQ(f().mnuFileExit->text(), "Exit");
    EXPECT_EQ(f().mnucolorabout->text(), "About Tinctara");
}

TEST_F(WindowTest, WindowFontFitsThreeDigitsInTheBoxes)
{
    const QFontMetrics fm(f().txtH->font());
    EXPECT_LE(fm.height(), 13);
    EXPECT_EQ(f().Surface().LineHeight(), QFontMetrics(app::WindowFont()).height());
    for (app::TextBox* box : {f().txtH, f().txtRed}) {
        QStyleOptionFrame opt;
        opt.initFrom(box);
        opt.rect = box->rect();
        opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
        const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
        // The line edit keeps a 2-pixel margin inside its contents.
        EXPECT_LE(fm.horizontalAdvance(QStringLiteral("255")), contents.width() - 4);
        EXPECT_LE(fm.height(), contents.height());
    }
}

TEST_F(WindowTest, LoadColorDialogSetsOnlyTheNewSample)
{
    const QImage before = f().Surface().Image().copy();
    for (int32_t value : {0x123456, 0, 0xFFFFFF, -1, int32_t(0x80000005)}) {
        f().LoadColorDialog(value);
        EXPECT_EQ(f().lblSelColor->BackColor(), value);
    }
    EXPECT_EQ(f().Surface().Image(), before);
    EXPECT_EQ(f().lblOldColor->BackColor(), color::RGB(255, 0, 0));
    EXPECT_EQ(f().txtH->text(), "0");
    EXPECT_EQ(f().txtRed->text(), "255");
}

TEST_F(WindowTest, OkCancelAndExitCloseTheWindow)
{
    f().cmdOK->click();
    EXPECT_FALSE(f().isVisible());
    form = std::make_unique<Form1>(dir.path());
    f().cmdCancel->click();
    EXPECT_FALSE(f().isVisible());
    form = std::make_unique<Form1>(dir.path());
    f().mnuFileExit->trigger();
    EXPECT_FALSE(f().isVisible());
}
