// The window's side of the swatch panel: switching between picker and
// panel, picking swatches and keeping custom colours.
#include <QComboBox>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/HexText.h"
#include "color/SafeColor.h"
#include "picker/Markers.h"
#include "swatches/SafePalette.h"

void Form1::DrawSafePicker(int16_t Index, bool Clear)
{
    swatches::DrawSafePicker(Surface(), SafeCells, Index, Clear);
}

QString Form1::CustomColorsPath() const
{
    return swatches::CustomColorsFolder(DataFolder()) + QLatin1Char('/') + swatches::CustomColorsFileName;
}

void Form1::PickSwatch(float X, float Y, int32_t Mode)
{
    const int k = swatches::HitCell(SafeCells, X, Y);
    if (k == 0)
        return;
    DrawSafePicker(SelectedCell, true);
    DrawSafePicker(static_cast<int16_t>(k), false);
    Surface().Refresh();
    SelectedCell = static_cast<int16_t>(k);
    int16_t red = 0, green = 0, blue = 0;
    std::string hex;
    if (Mode == PresetCustom) {
        // A hand-edited value that is no colour is taken as black.
        const int32_t value = color::IsColor(CustomColors[k]) ? CustomColors[k] : 0;
        lblSelColor->SetBackColor(value);
        color::SplitColor(value, red, green, blue);
        color::GetHexVal(red, green, blue, hex);
    } else if (Mode == PresetSafe) {
        lblSelColor->SetBackColor(color::GetSafeColor(SelectedCell, red, green, blue, hex));
    }
    DrawColorInfo(red, green, blue, hex);
}

void Form1::LoadCustomColors()
{
    CustomColors = swatches::ReadCustomColorsFile(CustomColorsPath());
    swatches::PaintCustomColors(Surface(), SafeCells, CustomColors, SelectedCell);
}

bool Form1::SaveCustomColors()
{
    const QString path = CustomColorsPath();
    const QString reason = swatches::WriteCustomColorsFile(path, CustomColors);
    if (reason.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tinctara"),
                    QStringLiteral("The custom colours could not be saved to %1: %2").arg(path, reason),
                    QMessageBox::Ok, this);
    box.exec();
    return false;
}

void Form1::cmdADD_Click()
{
    CustomColors[SelectedCell] = lblADDColor->BackColor();
    DrawSafePicker(SelectedCell, true);
    platform::Surface& s = Surface();
    s.DrawWidth = 1;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.FillStyle = platform::FILLSTYLE_SOLID;
    swatches::PaintCell(s, SafeCells[SelectedCell], CustomColors[SelectedCell]);
    // A failed save is reported by SaveCustomColors; the colour stays in
    // the panel either way.
    SaveCustomColors();
    DrawSafePicker(SelectedCell, false);
    s.Refresh();
}

void Form1::cmdPreset_Click()
{
    Surface().Cls();
    if (PresetMode == PresetPicker) {
        fraValues->hide();
        PresetMode = PresetCustom;
        LoadCustomColors();
        cmdPreset->setText(QStringLiteral("&Picker"));
        cmdPreset->setAccessibleName(QStringLiteral("Picker"));
        cmbPreset->show();
        if (cmbPreset->currentIndex() != 0) {
            cmbPreset->setCurrentIndex(0);
            cmbPreset_Click();
        }
        lblADDColor->SetBackColor(lblSelColor->BackColor());
        cmdADD->show();
        lblADDColor->show();
        return;
    }
    Surface().Cls();
    cmbPreset->hide();
    cmdPreset->setText(QStringLiteral("&Preset"));
    cmdPreset->setAccessibleName(QStringLiteral("Preset"));
    // The cleared surface has neither ring nor marks; put both back where
    // they were so the mode's handler moves exactly one of each.
    DrawPicker();
    picker::DrawStripMarks(Surface(), Picker.Geometry, picker::MarkRow(Picker.StripY));
    if (optH->isChecked())
        optH_Click();
    else if (optS->isChecked())
        optS_Click();
    else if (optB->isChecked())
        optB_Click();
    PresetMode = PresetPicker;
    fraValues->show();
    cmdADD->hide();
    lblADDColor->hide();
}

void Form1::cmbPreset_Click()
{
    Surface().Cls();
    switch (cmbPreset->currentIndex()) {
    case 0:
        LoadCustomColors();
        cmdADD->show();
        lblADDColor->show();
        PresetMode = PresetCustom;
        break;
    case 1:
        swatches::DrawSafePalette(Surface(), SafeCells, SelectedCell);
        cmdADD->hide();
        lblADDColor->hide();
        PresetMode = PresetSafe;
        break;
    default:
        break;
    }
    Surface().Refresh();
}
