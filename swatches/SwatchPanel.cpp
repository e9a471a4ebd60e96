#include "swatches/SwatchPanel.h"

#include "swatches/SafePalette.h"

namespace swatches {

SwatchPanel::SwatchPanel(platform::Surface& surface, const QString& programFolder)
    : surface_(surface), programFolder_(programFolder)
{
}

const CustomColorsPlace& SwatchPanel::Place() const
{
    if (place_.file.isEmpty())
        place_ = CustomColorsPlaceFor(programFolder_);
    return place_;
}

const QString& SwatchPanel::CustomColorsPath() const
{
    return Place().file;
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
    customColors_ = ParseCustomColors(ReadCustomColorsPlace(Place()).bytes);
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

void SwatchPanel::ShowColors(const CustomColorArray& colors)
{
    const bool shown = presetMode_ == PresetCustom;
    if (shown) {
        surface_.DrawWidth = 1;
        surface_.DrawMode = platform::DRAWMODE_COPYPEN;
        surface_.FillStyle = platform::FILLSTYLE_SOLID;
    }
    for (int k = 1; k <= CellCount; ++k)
        if (shown && colors[k] != customColors_[k])
            PaintCell(surface_, safeCells_[k], colors[k]);
    customColors_ = colors;
}

QString SwatchPanel::SaveCustomColors()
{
    const int16_t cell = selectedCell_;
    const int32_t value = customColors_[cell];
    const StoredColors stored = UpdateCustomColorsFile(Place(), [&](CustomColorArray& a) { a[cell] = value; });
    if (stored.read) {
        CustomColorArray shown = stored.colors;
        shown[cell] = value;
        ShowColors(shown);
    }
    return stored.error;
}

QString SwatchPanel::StoreColors(int16_t first, const std::vector<int32_t>& colors)
{
    const StoredColors stored = UpdateCustomColorsFile(Place(), [&](CustomColorArray& a) {
        for (size_t i = 0; i < colors.size() && first + i <= size_t(CellCount); ++i)
            a[first + i] = colors[i];
    });
    if (!stored.error.isEmpty())
        return stored.error;
    if (presetMode_ == PresetCustom) {
        DrawSafePicker(selectedCell_, true);
        ShowColors(stored.colors);
        DrawSafePicker(selectedCell_, false);
        surface_.Refresh();
    } else {
        customColors_ = stored.colors;
    }
    return QString();
}

} // namespace swatches
