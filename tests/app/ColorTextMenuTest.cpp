// Copy As, Paste Colour and the contrast window, on the real window. What
// each notation reads and writes is the colour library's own test; here
// the window's wiring: captions, the remembered format, the one way a
// pasted colour comes in, the refusal, the window that follows.
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <utility>

#include "MessageBoxWatcher.h"
#include "WindowFixture.h"
#include "app/ContrastWindow.h"
#include "color/Contrast.h"
#include "color/CopyFormat.h"

namespace {

using color::CopyFormat;

const int32_t Blue = color::RGB(0x33, 0x66, 0xCC);

class ColorTextMenuTest : public WindowTest {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Tinctara"), QStringLiteral("Tinctara")).clear();
        WindowTest::SetUp();
    }

    QString Clipboard() const { return QGuiApplication::clipboard()->text(); }
    void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static QString Text(int32_t value, CopyFormat format)
    {
        return QString::fromStdString(color::FormatColorText(value, format));
    }

    // The surface and the H, S, B boxes, which no colour from outside moves.
    std::pair<QImage, QStringList> Picker() const
    {
        return {form->Surface().Image().copy(), {form->txtH->text(), form->txtS->text(), form->txtB->text()}};
    }
};

TEST_F(ColorTextMenuTest, CopyAsShowsEachFormatAndItsChoiceOutlivesTheRun)
{
    // Nothing stored: Copy Colour writes #RRGGBB, as it always has.
    EXPECT_EQ(f().CopyFormat(), CopyFormat::HexUpper);
    f().mnuEditCopy_Click();
    EXPECT_EQ(Clipboard(), "#FF0000");

    f().TakeOutsideColor(Blue, true);
    emit f().mnuEditCopyAs->aboutToShow();
    ASSERT_EQ(f().mnuEditCopyAsItems.size(), qsizetype(color::CopyFormats.size()));
    for (size_t i = 0; i < color::CopyFormats.size(); ++i) {
        QAction* item = f().mnuEditCopyAsItems[qsizetype(i)];
        EXPECT_EQ(item->text(), Text(Blue, color::CopyFormats[i]));
        EXPECT_EQ(item->isChecked(), color::CopyFormats[i] == CopyFormat::HexUpper);
    }

    f().mnuEditCopyAsItems[7]->trigger();
    EXPECT_EQ(Clipboard(), "oklch(0.532 0.168 262.3)");
    EXPECT_EQ(f().CopyFormat(), CopyFormat::Oklch);
    EXPECT_TRUE(f().mnuEditCopyAsItems[7]->isChecked());
    EXPECT_FALSE(f().mnuEditCopyAsItems[0]->isChecked());
    f().TakeOutsideColor(color::RGB(0, 128, 0), true);
    f().mnuEditCopy_Click();
    EXPECT_EQ(Clipboard(), Text(color::RGB(0, 128, 0), CopyFormat::Oklch));

    // The next run copies in the chosen format; a stored word it does not
    // know leaves #RRGGBB.
    form = std::make_unique<Form1>(dir.path());
    EXPECT_EQ(f().CopyFormat(), CopyFormat::Oklch);
    f().mnuEditCopy_Click();
    EXPECT_EQ(Clipboard(), Text(color::RGB(255, 0, 0), CopyFormat::Oklch));
    QSettings(QStringLiteral("Tinctara"), QStringLiteral("Tinctara")).setValue("CopyFormat", "cmyk");
    form = std::make_unique<Form1>(dir.path());
    EXPECT_EQ(f().CopyFormat(), CopyFormat::HexUpper);
}

TEST_F(ColorTextMenuTest, APastedColorComesInAsASwatchDoes)
{
    const auto before = Picker();
    SetClipboard(QStringLiteral("  rgb(51 102 204);\n"));
    f().mnuEditPaste_Click();
    ExpectNewColor(Blue);
    EXPECT_TRUE(Picker() == before);

    // Typed in the hue box, whose handler runs on every key released there:
    // the chord's releases must not redo the hue and reset the sample.
    SetClipboard(QStringLiteral("hsl(120 100% 25%)"));
    QTest::keyClick(f().txtH, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    ExpectNewColor(color::RGB(0, 128, 0));
    EXPECT_TRUE(Picker() == before);

    // In the panel, the readout prints it, as for a swatch.
    f().cmdPreset_Click();
    const QImage panel = f().Surface().Image().copy();
    SetClipboard(QStringLiteral("RebeccaPurple"));
    f().mnuEditPaste_Click();
    ExpectNewColor(color::RGB(0x66, 0x33, 0x99));
    EXPECT_FALSE(f().Surface().Image() == panel) << "no readout";
}

TEST_F(ColorTextMenuTest, TextThatNamesNoColorIsQuotedAndChangesNothing)
{
    f().TakeOutsideColor(Blue, true);
    const auto before = Picker();
    MessageBoxWatcher boxes;
    // 41 characters and a line break within the first 40.
    SetClipboard(QStringLiteral("colour:\tthe blue\nof the sea at noon, \u00E9t\u00E9X"));
    f().mnuEditPaste_Click();
    SetClipboard(QStringLiteral("rgb(51 102 204"));
    f().mnuEditPaste_Click();
    SetClipboard(QString());
    f().mnuEditPaste_Click();
    ASSERT_EQ(boxes.Count(), 3);
    EXPECT_EQ(boxes.captions, QStringList({"Tinctara", "Tinctara", "Tinctara"}));
    EXPECT_TRUE(boxes.texts[0].startsWith(
        QStringLiteral("The clipboard holds no colour: \"colour: the blue of the sea at noon, \u00E9t\u00E9\u2026\".")))
        << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[1].startsWith(QStringLiteral("The clipboard holds no colour: \"rgb(51 102 204\".")));
    EXPECT_EQ(boxes.texts[2], "The clipboard holds no text to read a colour from.");
    ExpectNewColor(Blue);
    EXPECT_TRUE(Picker() == before);
}

TEST_F(ColorTextMenuTest, OneContrastWindowFollowsTheNewColor)
{
    f().mnuEditContrast_Click();
    app::ContrastWindow* window = f().Contrast();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Contrast");
    f().mnuEditContrast_Click();
    EXPECT_EQ(f().Contrast(), window);

    const int32_t old = f().lblOldColor->BackColor();
    struct {
        int32_t sample;
        const char* aaNormal;
        const char* aaLarge;
    } steps[] = {
        {color::RGB(255, 0, 0), "Fails", "Fails"},
        {color::RGB(255, 255, 255), "Fails", "Passes"},
        {color::RGB(0, 0, 0), "Passes", "Passes"},
    };
    for (const auto& step : steps) {
        f().TakeOutsideColor(step.sample, true);
        const std::string ratio = color::ContrastRatioText(color::ContrastRatio(step.sample, old));
        EXPECT_EQ(window->lblRatio->text().toStdString(), ratio);
        EXPECT_EQ(window->lblAANormal->text(), step.aaNormal) << ratio;
        EXPECT_EQ(window->lblAALarge->text(), step.aaLarge) << ratio;
        EXPECT_EQ(window->lblAAANormal->text(), "Fails") << ratio;
    }

    QPointer<app::ContrastWindow> watched(window);
    f().close();
    EXPECT_TRUE(!watched || !watched->isVisible());
}

} // namespace
