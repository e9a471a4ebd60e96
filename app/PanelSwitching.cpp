// The window's side of the swatch panel: switching between picker and
// panel, picking swatches and keeping custom colours.
#include <QComboBox>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/SafeColor.h"

namespace {
// The lists of the panel's combo box, in their order.
constexpr int CustomItem = 0;
constexpr int SafeItem = 1;
} // namespace

void Form1::DrawSafePicker(int16_t Index, bool Clear)
{
    panel_.DrawSafePicker(Index, Clear);
}

void Form1::PickSwatch(float X, float Y)
{
    const int16_t k = panel_.SelectCellAt(X, Y);
    if (k == 0)
        return;
    if (panel_.PresetMode() == PresetCustom) {
        // A hand-edited value that is no colour is taken as black.
        const int32_t stored = panel_.CustomColors()[k];
        TakeOutsideColor(color::IsColor(stored) ? stored : 0, false);
    } else if (panel_.PresetMode() == PresetSafe) {
        // The fillers after the 216 colours are black and have no hex text.
        color::ColorInfo info;
        const int32_t value = color::GetSafeColor(k, info.red, info.green, info.blue, info.hex);
        TakeOutsideColor(value, false, info);
    }
}

bool Form1::SaveCustomColors()
{
    const QString reason = panel_.SaveCustomColors();
    if (reason.isEmpty())
        return true;
    ShowSaveFailure(reason);
    return false;
}

void Form1::ShowSaveFailure(const QString& reason)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tinctara"),
                    QStringLiteral("The custom colours could not be saved to %1: %2")
                        .arg(panel_.CustomColorsPath(), reason),
                    QMessageBox::Ok, this);
    box.exec();
}

void Form1::cmdADD_Click()
{
    panel_.SetSelectedColor(lblADDColor->BackColor());
    // A failed save is reported by SaveCustomColors; the colour stays in
    // the panel either way.
    SaveCustomColors();
    DrawSafePicker(panel_.SelectedCell(), false);
    view_.Surface().Refresh();
}

void Form1::ShowPanelControls()
{
    const bool custom = panel_.PresetMode() == PresetCustom;
    cmdADD->setVisible(custom);
    lblADDColor->setVisible(custom);
}

void Form1::cmdPreset_Click()
{
    platform::Surface& s = view_.Surface();
    s.Cls();
    if (!panel_.Showing()) {
        fraValues->hide();
        panel_.SetPresetMode(PresetCustom);
        // The file is read once per opening: here, or where the list is
        // chosen.
        const bool listFollows = cmbPreset->currentIndex() != CustomItem;
        if (!listFollows)
            panel_.LoadCustomColors();
        cmdPreset->setText(QStringLiteral("&Picker"));
        cmdPreset->setAccessibleName(QStringLiteral("Picker"));
        cmbPreset->show();
        if (listFollows) {
            // The list follows the panel, and the panel is drawn as when the
            // list is chosen.
            cmbPreset->setCurrentIndex(CustomItem);
            cmbPreset_Click();
        }
        lblADDColor->SetBackColor(lblSelColor->BackColor());
        ShowPanelControls();
        return;
    }
    s.Cls();
    cmbPreset->hide();
    cmdPreset->setText(QStringLiteral("&Preset"));
    cmdPreset->setAccessibleName(QStringLiteral("Preset"));
    // The cleared surface has neither ring nor marks; put both back where
    // they were so the mode's handler moves exactly one of each.
    view_.DrawPicker();
    view_.DrawStripMarks();
    switch (view_.Mode()) {
    case picker::PickerMode::Hue:
        optH_Click();
        break;
    case picker::PickerMode::Saturation:
        optS_Click();
        break;
    case picker::PickerMode::Brightness:
        optB_Click();
        break;
    }
    panel_.SetPresetMode(PresetPicker);
    fraValues->show();
    ShowPanelControls();
}

void Form1::cmbPreset_Click()
{
    platform::Surface& s = view_.Surface();
    s.Cls();
    switch (cmbPreset->currentIndex()) {
    case CustomItem:
        panel_.SetPresetMode(PresetCustom);
        panel_.LoadCustomColors();
        ShowPanelControls();
        break;
    case SafeItem:
        panel_.SetPresetMode(PresetSafe);
        panel_.ShowSafePalette();
        ShowPanelControls();
        break;
    default:
        break;
    }
    s.Refresh();
}
