#pragma once
#include <cstdint>
#include <vector>

#include <QString>

#include "platform/Surface.h"
#include "swatches/CellGrid.h"
#include "swatches/CustomColors.h"
#include "swatches/CustomColorsStore.h"

namespace swatches {

// The swatch panel that takes the picker's place on the surface: which
// panel shows, its cells and selection, the custom colours and their file.
class SwatchPanel {
public:
    // What the left part of the window shows; the values are the ones the
    // window has always stored for it.
    static constexpr int32_t PresetPicker = 0;
    static constexpr int32_t PresetCustom = 1;
    static constexpr int32_t PresetSafe = 4;

    // `programFolder`: where the program runs from; the custom colours file
    // lives there or in the user's data folder (CustomColorsFolder).
    SwatchPanel(platform::Surface& surface, const QString& programFolder);

    int32_t PresetMode() const { return presetMode_; }
    void SetPresetMode(int32_t mode) { presetMode_ = mode; }
    bool Showing() const { return presetMode_ != PresetPicker; }

    const Cells& SafeCells() const { return safeCells_; }
    int16_t SelectedCell() const { return selectedCell_; }
    const CustomColorArray& CustomColors() const { return customColors_; }

    void BuildCells() { safeCells_ = BuildSafeCells(); }
    void Select(int16_t cell) { selectedCell_ = cell; }

    // The selection edge around a cell, or the gap painted back.
    void DrawSafePicker(int16_t Index, bool Clear);
    // Moves the selection to the cell under a point; the cell, or 0 where
    // there is none (and nothing changes).
    int16_t SelectCellAt(double X, double Y);

    // Reads the file once and paints the custom cells: what could be read,
    // black where nothing could.
    void LoadCustomColors();
    void ShowSafePalette();
    // Paints the selected cell in a new colour; the file is not written.
    void SetSelectedColor(int32_t colorValue);
    // Stores the selected cell's colour in the file, changing no other cell
    // there, and shows the cells as written (with what another copy of the
    // program added meanwhile). Empty on success, else the reason; the
    // colour then stays in the panel only.
    QString SaveCustomColors();
    // Stores colours in the cells from `first` on, as many as fit, and shows
    // the cells as written while the custom panel shows. Empty on success,
    // else the reason; nothing changes then.
    QString StoreColors(int16_t first, const std::vector<int32_t>& colors);

    // Where the custom colours file is read and written; decided on first
    // use and kept for the run.
    const QString& CustomColorsPath() const;
    const CustomColorsPlace& Place() const;

private:
    // Paints the cells whose colours differ from `colors`, which the panel
    // then holds. The selection edge is left to the caller.
    void ShowColors(const CustomColorArray& colors);

    platform::Surface& surface_;
    QString programFolder_;
    mutable CustomColorsPlace place_;
    int32_t presetMode_ = PresetPicker;
    Cells safeCells_{};
    int16_t selectedCell_ = 0;
    CustomColorArray customColors_{};
};

} // namespace swatches
