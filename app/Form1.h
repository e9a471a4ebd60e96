#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "picker/PickerState.h"
#include "platform/GdiTypes.h"
#include "platform/Surface.h"
#include "swatches/CustomColors.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace app {
class ClientArea;
class ColorLabel;
class KeyPresses;
class ScreenPicker;
class TextBox;
} // namespace app

#include "app/frmAbout.h"

// The main window: the picker drawn on its client area, the value boxes,
// the colour samples and the swatch panel.
class Form1 : public QMainWindow {
public:
    static constexpr int ClientWidth = 434;
    static constexpr int ClientHeight = 275;

    // `dataFolder` is where the custom colours file lives; empty means the
    // program's own folder.
    explicit Form1(const QString& dataFolder = QString(), QWidget* parent = nullptr);
    ~Form1() override;

    // Public methods of the window.
    void LoadColorDialog(int32_t oldColor);
    void GetHexVal(const int16_t& Red, const int16_t& Green, const int16_t& Blue, std::string& strHex) const;
    void DrawPicker();
    void DrawSelFrame();
    void DrawMainFrame();
    void DrawSafePicker(int16_t Index, bool Clear);

    // Window-level state.
    picker::PickerState Picker;
    bool FieldDrag = false;
    bool StripDrag = false;
    // What the left part of the window shows; the values are those stored
    // in PresetMode.
    static constexpr int32_t PresetPicker = 0;
    static constexpr int32_t PresetCustom = 1;
    static constexpr int32_t PresetSafe = 4;
    int32_t PresetMode = PresetPicker;
    swatches::Cells SafeCells{};
    int16_t SelectedCell = 0;
    swatches::CustomColorArray CustomColors{};

    platform::Surface& Surface() { return surface_; }
    const platform::Surface& Surface() const { return surface_; }
    const QString& DataFolder() const { return dataFolder_; }

    // Controls, by their names.
    app::ClientArea* Client = nullptr;
    QPushButton* cmdOK = nullptr;
    QFrame* fraAdd = nullptr;
    app::ColorLabel* lblADDColor = nullptr;
    QPushButton* cmdPreset = nullptr;
    QPushButton* cmdADD = nullptr;
    QComboBox* cmbPreset = nullptr;
    QFrame* fraSamples = nullptr;
    QLabel* lblOld = nullptr;
    app::ColorLabel* lblOldColor = nullptr;
    QLabel* lblNew = nullptr;
    app::ColorLabel* lblSelColor = nullptr;
    QFrame* fraValues = nullptr;
    app::TextBox* txtBlue = nullptr;
    app::TextBox* txtGreen = nullptr;
    app::TextBox* txtRed = nullptr;
    app::TextBox* txtH = nullptr;
    app::TextBox* txtS = nullptr;
    app::TextBox* txtB = nullptr;
    QRadioButton* optH = nullptr;
    QRadioButton* optS = nullptr;
    QRadioButton* optB = nullptr;
    QLabel* lblR = nullptr;
    QLabel* lblG = nullptr;
    QLabel* lblB = nullptr;
    QLabel* lblS = nullptr;
    QLabel* lblBB = nullptr;
    QLabel* lblH = nullptr;
    QPushButton* cmdCancel = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPick = nullptr;
    QMenu* mnuabout = nullptr;
    QAction* mnucolorabout = nullptr;

    // Event handlers.
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void mnuFileExit_Click();
    void mnuEditCopy_Click();
    void mnuEditPick_Click();
    void mnucolorabout_Click();
    // Picking from the screen; tests give it a stand-in desktop.
    app::ScreenPicker* ScreenPick = nullptr;
    // The About window while it is loaded, else null.
    frmAbout* About() const { return about_; }
    void Form_MouseDown(int Button, int Shift, float X, float Y);
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Form_MouseUp(int Button, int Shift, float X, float Y);
    void txtH_KeyUp(int KeyCode, int Shift);
    void txtH_LostFocus();
    void txtS_KeyUp(int KeyCode, int Shift);
    void txtB_KeyUp(int KeyCode, int Shift);
    void optH_Click();
    void optS_Click();
    void optB_Click();
    void lblOldColor_Click();
    void lblSelColor_Click();
    void lblADDColor_Click();
    void cmdPreset_Click();
    void cmbPreset_Click();
    void cmdADD_Click();

    // Where the custom colours file is read and written.
    QString CustomColorsPath() const;

    // The pixel nearest to a client position (fractional rows round to the
    // nearest, ties to even); -1 outside the image.
    int32_t PointAt(double x, double y) const;

private:
    // Only the left button picks, and while a swatch panel shows it picks
    // there: true when a press or move is done with before the picker.
    bool NotForThePicker(int Button, float X, float Y);
    void PickFieldColor(float& X, float& Y);
    void PickStripColor(float& X, float& Y);
    void MixHueColor(int16_t S, int16_t B);
    void ShowFieldColor();
    // The markers move by drawing them inverted at the old place (erasing)
    // and at the new one.
    void MoveRing(int32_t x, int32_t y);
    void MoveStripMarks(float y);
    // Saturation (true) or brightness mode.
    void ShowRampMode(bool saturation);
    // The strip of saturation or brightness mode, whichever is set.
    void DrawRampStrip(int16_t red, int16_t green, int16_t blue);
    void PickSwatch(float X, float Y, int32_t Mode);
    void DrawColorInfo(const int16_t& red, const int16_t& green, const int16_t& blue, const std::string& hex);
    void ShowSampleInfo(const app::ColorLabel* sample);
    void LoadCustomColors();
    bool SaveCustomColors();
    // False, after telling the user, when the hue box holds no whole number
    // from 0 to 360.
    bool HueCheck();
    bool IsHueMode() const;
    bool IsSaturationMode() const;
    static double BoxValue(const app::TextBox* box);
    static void SetBoxText(app::TextBox* box, int64_t value);
    void ShowChannels(int32_t colorValue);

    void CreateControls();
    void CreateMenus();
    void CreateEditMenu();
    // A colour from the screen is handled as one from a swatch, and also
    // shows in R, G and B.
    void ShowScreenColor(int32_t colorValue);
    void TakeScreenColor(int32_t colorValue);
    void SetTabOrder();
    void DrawHueStrip();
    void DrawHueField(const int16_t& red, const int16_t& green, const int16_t& blue);

    bool hueMessageShown_ = false;
    bool showQueued_ = false;
    // Which keys were pressed in this window; the value boxes ask it.
    app::KeyPresses* keyPresses_ = nullptr;
    // What a pick from the screen puts back when it is cancelled.
    struct {
        int32_t sample = 0;
        QString red, green, blue;
    } beforeScreenPick_;
    QPointer<frmAbout> about_;
    QString dataFolder_;
    platform::Surface surface_;
};
