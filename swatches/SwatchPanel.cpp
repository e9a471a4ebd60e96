#include "swatches/SwatchPanel.h"

#include "swatches/SafePalette.h"

namespace swatches {

SwatchPanel::SwatchPanel(platform::Surface& surface, const QString& programFolder)
    : surface_(surface), programFolder_(programFolder)
{
}

const QString& SwatchPanel::CustomColorsPath() const
{
    if (path_.isEmpty())
        path_ = CustomColorsFolder(programFolder_) + QLatin1Char('/') + CustomColorsFileName;
    return path_;
}

void SwatchPanel::DrawSafePicker(int16_t Index, bool Clear)
{
    swatches::DrawSafePicker(surface_, safeCells_, Index, Clear);
}

int16_t SwatchPanel::SelectCellAt(double X, double Y)
{
    const auto k = static_cast<int16_t>(HitCell(safeCells_, X, Y));
    if (k == 0)
        return 0;
    DrawSafePicker(selectedCell_, true);
    DrawSafePicker(k, false);
    surface_.Refresh();
    selectedCell_ = k;
    return k;
}

void SwatchPanel::LoadCustomColors()
{
    customColors_ = ReadCustomColorsFile(CustomColorsPath());
    PaintCustomColors(surface_, safeCells_, customColors_, selectedCell_);
}

void SwatchPanel::ShowSafePalette()
{
    DrawSafePalette(surface_, safeCells_, selectedCell_);
}

void SwatchPanel::SetSelectedColor(int32_t colorValue)
{
    customColors_[selectedCell_] = colorValue;
    DrawSafePicker(selectedCell_, true);
    surface_.DrawWidth = 1;
    surface_.DrawMode = platform::DRAWMODE_COPYPEN;
    surface_.FillStyle = platform::FILLSTYLE_SOLID;
    PaintCell(surface_, safeCells_[selectedCell_], customColors_[selectedCell_]);
}

QString SwatchPanel::SaveCustomColors()
{
    return WriteCustomColorsFile(CustomColorsPath(), customColors_);
}

} // namespace swatches
