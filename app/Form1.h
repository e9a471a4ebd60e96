#pragma once
#include <array>
#include <cstdint>
#include <string>

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "color/ColorInfo.h"
#include "color/CopyFormat.h"
#include "picker/PickerView.h"
#include "platform/Surface.h"
#include "swatches/SwatchPanel.h"

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
class ContrastWindow;
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
    static constexpr int32_t PresetPicker = swatches::SwatchPanel::PresetPicker;
    static constexpr int32_t PresetCustom = swatches::SwatchPanel::PresetCustom;
    static constexpr int32_t PresetSafe = swatches::SwatchPanel::PresetSafe;

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

    // What the window shows, read-only: the picker and the swatch panel.
    const picker::PickerView& View() const { return view_; }
    const swatches::SwatchPanel& Panel() const { return panel_; }
    const platform::Surface& Surface() const { return view_.Surface(); }
    // Whether a press in the field or the strip is being dragged.
    bool FieldDragging() const { return FieldDrag; }
    bool StripDragging() const { return StripDrag; }

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
    // One item per copy format, in the order of color::CopyFormats.
    QMenu* mnuEditCopyAs = nullptr;
    QList<QAction*> mnuEditCopyAsItems;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditPick = nullptr;
    QAction* mnuEditContrast = nullptr;
    QMenu* mnuabout = nullptr;
    QAction* mnucolorabout = nullptr;
    QAction* mnuFileExport = nullptr;
    QAction* mnuFileImport = nullptr;

    // Event handlers.
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void mnuFileExit_Click();
    void mnuEditCopy_Click();
    void mnuEditCopyAs_Click(color::CopyFormat format);
    void mnuEditPaste_Click();
    void mnuEditPick_Click();
    void mnuEditContrast_Click();
    // The format Copy Colour writes: the one last chosen under Copy As.
    color::CopyFormat CopyFormat() const { return copyFormat_; }
    // The contrast window while it is open, else null.
    app::ContrastWindow* Contrast() const;
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
    void mnuFileExport_Click();
    void mnuFileImport_Click();

    // A colour from outside the picker (a swatch, the screen): the new-colour
    // sample shows it, the R, G and B boxes too when `showChannels` is set,
    // and the readout prints it while a panel shows. `info` is what the
    // readout prints, where it differs from the colour's own channels.
    void TakeOutsideColor(int32_t colorValue, bool showChannels);
    void TakeOutsideColor(int32_t colorValue, bool showChannels, const color::ColorInfo& info);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Only the left button picks: true for a press or move that is no pick.
    static bool NotLeftButton(int Button);
    void PickFieldColor(float X, float Y);
    void PickStripColor(float Y);
    void MixHueColor(int16_t S, int16_t B);
    // The picker's colour becomes the new colour: sample and R, G, B boxes.
    void ShowNewColor(int32_t colorValue);
    void ShowFieldColor();
    // Saturation or brightness mode, as the view is set.
    void ShowRampMode();
    void PickSwatch(float X, float Y);
    void DrawColorInfo(int16_t red, int16_t green, int16_t blue, const std::string& hex);
    void ShowSampleInfo(const app::ColorLabel* sample);
    bool SaveCustomColors();
    // False, after telling the user, when the hue box holds no whole number
    // from 0 to 360.
    bool HueCheck();
    bool IsHueMode() const { return view_.Mode() == picker::PickerMode::Hue; }
    bool IsSaturationMode() const { return view_.Mode() == picker::PickerMode::Saturation; }
    static double BoxValue(const app::TextBox* box);
    static void SetBoxText(app::TextBox* box, int64_t value);
    void ShowChannels(int32_t colorValue);
    // The panel's buttons and frame for the panel now set.
    void ShowPanelControls();

    // Tells screen readers what the client area shows now: the picker's
    // field and where its ring stands, or the swatch panel.
    void DescribeClient();

    void CreateControls();
    void CreateMenus();
    void CreateEditMenu();
    void CreateColorTextItems();
    void ShowCopyAsCaptions();
    void SetTabOrder();
    void DrawHueStrip();
    void DrawHueField(int16_t red, int16_t green, int16_t blue);
    // Export and Import above Exit in the File menu.
    void CreatePaletteItems();
    // Tells the user that the custom colours file was not written, and why.
    void ShowSaveFailure(const QString& reason);

    bool FieldDrag = false;
    bool StripDrag = false;
    bool hueMessageShown_ = false;
    bool showQueued_ = false;
    // What the client area's description was last written for: the panel,
    // the mode and the ring. A strip step changes none of them.
    std::array<int, 4> describedFor_{-1, -1, -1, -1};
    // Which keys were pressed in this window; the value boxes ask it.
    app::KeyPresses* keyPresses_ = nullptr;
    // What a pick from the screen puts back when it is cancelled.
    struct {
        int32_t sample = 0;
        QString red, green, blue;
    } beforeScreenPick_;
    QPointer<frmAbout> about_;
    QPointer<app::ContrastWindow> contrast_;
    color::CopyFormat copyFormat_ = color::CopyFormat::HexUpper;
    picker::PickerView view_;
    swatches::SwatchPanel panel_;
};
