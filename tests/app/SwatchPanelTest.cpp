#include <limits>
#include <set>
#include <vector>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "MessageBoxWatcher.h"
#include "PickerInvariants.h"
#include "WindowFixture.h"
#include "color/Contrast.h"
#include "tests/support/Swatches.h"

using namespace expected;

namespace {

constexpr int W = Form1::ClientWidth, H = Form1::ClientHeight;
constexpr int Custom = 0, Safe = 1; // list indexes

Picture CustomPanel(const swatches::CustomColorArray& colors, int selected)
{
    return PanelPicture([&](int k) { return colors[k]; }, selected, PaletteColors());
}

Picture SafePanel(int selected)
{
    return SafePanelPicture(selected, PaletteColors());
}

QStringList ReadoutOf(int32_t v)
{
    const int r = v & 0xFF, g = (v >> 8) & 0xFF, b = (v >> 16) & 0xFF;
    return {QStringLiteral("R: %1").arg(r), QStringLiteral("G: %1").arg(g), QStringLiteral("B: %1").arg(b),
            QStringLiteral("Hex: #") + QString::asprintf("%02X%02X%02X", r, g, b)};
}

const QStringList FillerReadout = {"R: 0", "G: 0", "B: 0", "Hex: #"};

// `base` with the four lines printed from (312, 80) in the window's font,
// one font line apart, black, on whatever `base` holds there.
Picture WithReadout(const Form1& form, const Picture& base, const QStringList& lines)
{
    platform::Surface s(W, H, PaletteColors(), form.Surface().Font());
    base.PaintOnto(s);
    s.ForeColor = 0;
    for (int i = 0; i < lines.size(); ++i) {
        s.CurrentX = 312;
        s.CurrentY = 80 + i * s.LineHeight();
        s.Print(lines[i].toStdString());
    }
    return Picture::Of(s);
}

} // namespace

class SwatchPanelTest : public WindowTest {
protected:
    QString FilePath() const { return dir.filePath(QStringLiteral("usercolors.cps")); }
    void WriteFile(const swatches::CustomColorArray& colors)
    {
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(swatches::FormatCustomColors(colors));
    }
    QByteArray FileBytes() const
    {
        QFile file(FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The file that must hold `colors`, written by the tests' own writer.
    static QByteArray FileOf(const swatches::CustomColorArray& colors)
    {
        return QByteArray::fromStdString(expected::CustomColorsFile({colors.begin(), colors.end()}));
    }
    void ClickPreset() { QTest::mouseClick(f().cmdPreset, Qt::LeftButton); }
    // Opens the list and clicks the item, as a user does.
    void Choose(int index)
    {
        QComboBox* list = f().cmbPreset;
        ASSERT_TRUE(list->isVisible());
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(view->isVisible());
        const QRect item = view->visualRect(list->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        ASSERT_FALSE(view->isVisible());
        ASSERT_EQ(list->currentIndex(), index);
    }
    const QImage& Image() { return f().Surface().Image(); }
    // The hue mode's picture with the field of `hue`, and one ring and one
    // pair of marks where the state puts them.
    Picture PickerWith(int32_t hue)
    {
        PickerScene scene = invariants::SceneOf(f());
        scene.hue = hue;
        return PickerPicture(scene, PaletteColors());
    }

    void ExpectPanelControls(int mode)
    {
        EXPECT_EQ(f().Panel().PresetMode(), mode);
        EXPECT_FALSE(f().fraValues->isVisible());
        EXPECT_TRUE(f().cmbPreset->isVisible());
        EXPECT_EQ(f().cmbPreset->currentIndex(), mode == Form1::PresetCustom ? Custom : Safe);
        EXPECT_EQ(f().cmdADD->isVisible(), mode == Form1::PresetCustom);
        EXPECT_EQ(f().lblADDColor->isVisible(), mode == Form1::PresetCustom);
        EXPECT_EQ(f().cmdPreset->text(), QStringLiteral("&Picker"));
    }
    void ExpectPickerControls()
    {
        EXPECT_EQ(f().Panel().PresetMode(), Form1::PresetPicker);
        EXPECT_TRUE(f().fraValues->isVisible());
        EXPECT_FALSE(f().cmbPreset->isVisible());
        EXPECT_FALSE(f().cmdADD->isVisible());
        EXPECT_FALSE(f().lblADDColor->isVisible());
        EXPECT_EQ(f().cmdPreset->text(), QStringLiteral("&Preset"));
    }
};

TEST_F(SwatchPanelTest, PresetOpensTheCustomPanelFromTheFile)
{
    swatches::CustomColorArray colors{};
    for (int k = 0; k <= 224; ++k)
        colors[k] = (k * 0x10A3F7) & 0xFFFFFF;
    WriteFile(colors);
    // A colour picked on the field goes to the add sample.
    Press(100, 200);
    Release(100, 200);
    const int32_t picked = f().lblSelColor->BackColor();
    ASSERT_NE(picked, color::RGB(255, 0, 0));

    ClickPreset();
    ExpectPanelControls(Form1::PresetCustom);
    EXPECT_EQ(f().lblADDColor->BackColor(), picked);
    EXPECT_EQ(f().lblSelColor->BackColor(), picked);
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 1)));
}

TEST_F(SwatchPanelTest, WithoutAFileThePanelShowsBlackCells)
{
    ClickPreset();
    ExpectPanelControls(Form1::PresetCustom);
    EXPECT_EQ(f().Panel().CustomColors(), swatches::CustomColorArray{});
    EXPECT_TRUE(SameImage(Image(), CustomPanel({}, 1)));
    EXPECT_FALSE(QFile::exists(FilePath())) << "opening the panel writes nothing";
}

TEST_F(SwatchPanelTest, ListSwitchesBetweenSafePaletteAndReloadedCustomColors)
{
    ClickPreset();
    Press(CellCentre(40).x, CellCentre(40).y);
    Release(CellCentre(40).x, CellCentre(40).y);
    ASSERT_EQ(f().Panel().SelectedCell(), 40);
    Choose(Safe);
    ExpectPanelControls(Form1::PresetSafe);
    EXPECT_TRUE(SameImage(Image(), SafePanel(40)));
    Choose(Safe);
    ExpectPanelControls(Form1::PresetSafe);
    EXPECT_TRUE(SameImage(Image(), SafePanel(40)));

    swatches::CustomColorArray colors{};
    colors[40] = color::RGB(1, 2, 3);
    colors[224] = color::RGB(255, 255, 255);
    WriteFile(colors);
    Choose(Custom);
    ExpectPanelControls(Form1::PresetCustom);
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 40)));

    // Choosing the custom colours again reads the file again.
    colors[1] = color::RGB(200, 100, 50);
    WriteFile(colors);
    Choose(Custom);
    ExpectPanelControls(Form1::PresetCustom);
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 40)));
}

TEST_F(SwatchPanelTest, PresetReturnsFromEitherPanelToThePictureOfTheSetMode)
{
    // The same window switched to the mode without ever opening the panel
    // is the reference: one ring, one pair of marks, the mode's renders.
    for (QRadioButton* Form1::*option : {&Form1::optH, &Form1::optS, &Form1::optB})
        for (int panel : {Custom, Safe}) {
            const QString what = QStringLiteral("%1 from list item %2").arg((f().*option)->text()).arg(panel);
            form = std::make_unique<Form1>(dir.path());
            (f().*option)->click();
            const Picture reference = Picture::Of(Image());
            const int32_t sample = f().lblSelColor->BackColor();

            ClickPreset();
            if (panel == Safe)
                Choose(Safe);
            ClickPreset();
            ExpectPickerControls();
            EXPECT_TRUE((f().*option)->isChecked());
            EXPECT_TRUE(SameImage(Image(), reference)) << what.toStdString();
            EXPECT_EQ(f().lblSelColor->BackColor(), sample) << what.toStdString();
        }
}

TEST_F(SwatchPanelTest, MarksStayOnePairAfterATypedHalfRowAndAStripDrag)
{
    MessageBoxWatcher boxes;
    Type(f().txtH, QStringLiteral("180"));
    ASSERT_EQ(f().View().StripY(), 137.5f);
    ClickPreset();
    ClickPreset();
    ExpectPickerControls();
    EXPECT_EQ(f().View().StripY(), 137.0f) << "the hue handler floors the typed position";
    EXPECT_TRUE(SameImage(Image(), PickerWith(HueStripRow(127))));

    Press(280, 200);
    Move(284, 150);
    Release(284, 150);
    EXPECT_EQ(f().View().StripY(), 150.0f);
    EXPECT_TRUE(SameImage(Image(), PickerWith(HueStripRow(140))));

    // The same through the safe palette and a second round trip.
    Type(f().txtH, QStringLiteral("180"));
    ClickPreset();
    Choose(Safe);
    ClickPreset();
    ClickPreset();
    ClickPreset();
    EXPECT_TRUE(SameImage(Image(), PickerWith(HueStripRow(127))));
    Press(280, 60);
    Release(280, 60);
    EXPECT_TRUE(SameImage(Image(), PickerWith(HueStripRow(50))));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(SwatchPanelTest, OpeningAgainAfterTheSafePaletteStartsWithCustomColors)
{
    swatches::CustomColorArray colors{};
    colors[3] = color::RGB(9, 99, 199);
    WriteFile(colors);
    ClickPreset();
    Choose(Safe);
    ClickPreset();
    ExpectPickerControls();
    ClickPreset();
    ExpectPanelControls(Form1::PresetCustom);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 1)));
}

TEST_F(SwatchPanelTest, PressesAfterReturningGoToThePicker)
{
    ClickPreset();
    Press(CellCentre(40).x, CellCentre(40).y);
    Release(CellCentre(40).x, CellCentre(40).y);
    ClickPreset();
    ASSERT_EQ(f().Panel().PresetMode(), Form1::PresetPicker);

    Press(17, 17); // inside cell 1 of the grid, now the field
    EXPECT_EQ(f().View().FieldX(), 17);
    EXPECT_EQ(f().View().FieldY(), 17);
    Move(60, 90);
    EXPECT_EQ(f().View().FieldX(), 60);
    EXPECT_EQ(f().View().FieldY(), 90);
    Release(60, 90);
    EXPECT_EQ(f().Panel().SelectedCell(), 40);
    EXPECT_EQ(f().lblSelColor->BackColor(), HueFieldPixel(Rgb(255, 0, 0), 60, 90));
}

TEST_F(SwatchPanelTest, SwatchPressesHitOnlyTheInsideOfACell)
{
    ClickPreset();
    Choose(Safe);
    Press(CellCentre(2).x, CellCentre(2).y);
    Release(CellCentre(2).x, CellCentre(2).y);
    const Picture before = Picture::Of(Image());
    const int32_t sample = f().lblSelColor->BackColor();
    ASSERT_EQ(f().Panel().SelectedCell(), 2);
    // Borders and gaps of cell 1 and its neighbours.
    for (auto [x, y] : {std::pair{10, 17}, {25, 17}, {17, 10}, {17, 25}, {26, 17}, {27, 17}, {9, 9},
                        {25, 25}, {10, 10}, {295, 17}, {17, 259}, {300, 100}, {150, 265}}) {
        Press(x, y);
        Release(x, y);
        EXPECT_EQ(f().Panel().SelectedCell(), 2) << x << "," << y;
        EXPECT_EQ(f().lblSelColor->BackColor(), sample);
        EXPECT_TRUE(SameImage(Image(), before)) << x << "," << y;
    }
    Press(11, 11, Qt::RightButton);
    EXPECT_EQ(f().Panel().SelectedCell(), 2);
    for (auto [x, y] : {std::pair{11, 11}, {24, 24}, {11, 24}, {24, 11}}) {
        Press(x, y);
        Release(x, y);
        EXPECT_EQ(f().Panel().SelectedCell(), 1) << x << "," << y;
        EXPECT_TRUE(SameImage(Image(), WithReadout(f(), SafePanel(1), ReadoutOf(0))));
        Press(CellCentre(2).x, CellCentre(2).y);
        Release(CellCentre(2).x, CellCentre(2).y);
    }
}

TEST_F(SwatchPanelTest, DraggingAcrossTheGridFollowsThePointerCellByCell)
{
    ClickPreset();
    Choose(Safe);
    // Along the top row, down the last column, back along the bottom row:
    // gaps keep the last cell, every cell entered takes the edge, the
    // sample and the readout, the black fillers included.
    std::vector<std::pair<int, int>> path;
    for (int x = 17; x <= 294; ++x)
        path.push_back({x, 17});
    for (int y = 18; y <= 251; ++y)
        path.push_back({290, y});
    for (int x = 289; x >= 10; --x)
        path.push_back({x, 251});
    Press(path[0].first, path[0].second);
    ASSERT_TRUE(SameImage(Image(), WithReadout(f(), SafePanel(1), ReadoutOf(0))));
    int cell = 1;
    std::set<int> visited;
    Picture previous = Picture::Of(Image());
    for (auto [x, y] : path) {
        Move(x, y);
        const int before = cell;
        for (int k = 1; k <= 224; ++k) {
            const Box c = CellBox(k);
            if (c.left < x && x < c.right && c.top < y && y < c.bottom)
                cell = k;
        }
        visited.insert(cell);
        ASSERT_EQ(f().Panel().SelectedCell(), cell) << x << "," << y;
        ASSERT_EQ(f().lblSelColor->BackColor(), SafeColor(cell)) << x << "," << y;
        // Within a cell or a gap the picture stays; a new cell is checked whole.
        if (cell == before) {
            ASSERT_TRUE(SameImage(Image(), previous)) << x << "," << y;
            continue;
        }
        const QStringList readout = cell > 216 ? FillerReadout : ReadoutOf(SafeColor(cell));
        ASSERT_TRUE(SameImage(Image(), WithReadout(f(), SafePanel(cell), readout))) << x << "," << y;
        previous = Picture::Of(Image());
    }
    Release(10, 251);
    EXPECT_EQ(visited.size(), 16u + 13u + 15u);
}

TEST_F(SwatchPanelTest, ReadoutsNeverPrintOverEachOther)
{
    ClickPreset();
    Choose(Safe);
    const Picture panel216 = SafePanel(216);
    for (int k : {216, 217, 41, 1, 216}) {
        const Box c = CellBox(k);
        Press(c.left + 5, c.top + 5);
        Release(c.left + 5, c.top + 5);
    }
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), panel216, ReadoutOf(0xFFFFFF))));
    // The longest readout, then the shortest: only the short one is left.
    const Box filler = CellBox(224);
    Press(filler.left + 5, filler.top + 5);
    Release(filler.left + 5, filler.top + 5);
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), SafePanel(224), FillerReadout)));
}

TEST_F(SwatchPanelTest, InADarkSchemeTheReadoutAndTheCellOutlinesCanBeRead)
{
    // Every other test runs in the light scheme, where both stay black.
    struct Restore {
        QPalette light = QApplication::palette();
        ~Restore() { QApplication::setPalette(light); }
    } restore;
    QPalette dark(QColor(0x30, 0x2F, 0x2E), QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xE7, 0xE4, 0xE0));
    QApplication::setPalette(dark);
    form = std::make_unique<Form1>(dir.path());
    ClickPreset();
    Choose(Safe);
    const Box cell = CellBox(40);
    Press(cell.left + 5, cell.top + 5);
    Release(cell.left + 5, cell.top + 5);

    const int32_t face = PaletteValue(QPalette::Window), text = PaletteValue(QPalette::WindowText);
    const auto contrast = [](int32_t a, int32_t b) {
        const double la = color::RelativeLuminance(a), lb = color::RelativeLuminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    double best = 0;
    int32_t strongest = face;
    for (int y = 80; y <= 130; ++y)
        for (int x = 312; x <= 392; ++x)
            if (contrast(Pixel(x, y), face) > best) {
                best = contrast(Pixel(x, y), face);
                strongest = Pixel(x, y);
            }
    EXPECT_GE(best, 4.5) << "the readout's text against the window";
    EXPECT_EQ(strongest, text);
    for (int k : {1, 40, 224}) {
        const Box c = CellBox(k);
        for (int x = c.left; x < c.right; ++x)
            EXPECT_EQ(Pixel(x, c.bottom - 1), text) << "outline of cell " << k << " at x " << x;
    }
}

TEST_F(SwatchPanelTest, ReadoutClearsTheBoxesOfAllFourLinesWhateverLiesBeneath)
{
    ClickPreset();
    Choose(Safe);
    // Noise written straight into the window's image, where no drawing of
    // its own would put it.
    auto& s = const_cast<platform::Surface&>(f().Surface());
    for (int y = 60; y < 170; ++y)
        for (int x = 300; x < W; ++x)
            s.ScanLine(y)[x] = platform::ToQRgb((x * 2654435761u + y * 40503u) & 0xFFFFFF);
    QTest::mouseClick(f().lblOldColor, Qt::LeftButton);

    const QStringList lines = {"R: 255", "G: 0", "B: 0", "Hex: #FF0000"};
    const Picture clean = WithReadout(f(), SafePanel(1), lines);
    const QFontMetrics metrics(s.Font(), &s.Image());
    const int lineHeight = s.LineHeight();
    auto inBox = [&](int x, int y) {
        if (x >= 312 && x <= 392 && y >= 80 && y <= 130)
            return true;
        for (int i = 0; i < lines.size(); ++i)
            if (y >= 80 + i * lineHeight && y < 80 + (i + 1) * lineHeight && x >= 312 &&
                x <= 312 + metrics.horizontalAdvance(lines[i]))
                return true;
        return false;
    };
    int checked = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (inBox(x, y)) {
                ++checked;
                ASSERT_EQ(Pixel(x, y), clean.At(x, y)) << x << "," << y;
            }
    EXPECT_GE(checked, 81 * 51);
}

TEST_F(SwatchPanelTest, SampleClicksPrintTheirColors)
{
    // Behind the value frame the readout is not seen, and the panel clears it.
    const QRect valueFrame = f().fraValues->geometry().intersected(f().Client->rect());
    const QImage seen = f().Client->grab(valueFrame).toImage();
    const QImage surfaceBefore = f().Surface().Image().copy();
    QTest::mouseClick(f().lblOldColor, Qt::LeftButton);
    QTest::mouseClick(f().lblSelColor, Qt::LeftButton);
    EXPECT_NE(f().Surface().Image(), surfaceBefore) << "the readout went onto the surface";
    EXPECT_EQ(f().Client->grab(valueFrame).toImage(), seen) << "the readout shows through the value frame";
    ClickPreset();
    EXPECT_TRUE(SameImage(Image(), CustomPanel({}, 1)));

    QTest::mouseClick(f().lblOldColor, Qt::LeftButton);
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel({}, 1), {"R: 255", "G: 0", "B: 0", "Hex: #FF0000"})));

    Choose(Safe);
    const Box c = CellBox(41); // red 51, green 0, blue 204
    Press(c.left + 3, c.top + 3);
    Release(c.left + 3, c.top + 3);
    QTest::mouseClick(f().lblOldColor, Qt::LeftButton);
    QTest::mouseClick(f().lblSelColor, Qt::LeftButton);
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), SafePanel(41), {"R: 51", "G: 0", "B: 204", "Hex: #3300CC"})));

    Choose(Custom);
    f().lblADDColor->SetBackColor(color::RGB(18, 52, 86));
    QTest::mouseClick(f().lblADDColor, Qt::LeftButton);
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel({}, 41), {"R: 18", "G: 52", "B: 86", "Hex: #123456"})));
}

TEST_F(SwatchPanelTest, ValuesThatAreNoColorsArePaintedAndPickedBlackAndKept)
{
    swatches::CustomColorArray colors{};
    colors[0] = -99;
    colors[5] = -5;
    colors[6] = 16777216;
    colors[7] = std::numeric_limits<int32_t>::min();
    colors[8] = 16777215;
    WriteFile(colors);
    ClickPreset();
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 1)));
    for (int k : {5, 6, 7}) {
        const Box c = CellBox(k);
        Press(c.left + 7, c.top + 7);
        Release(c.left + 7, c.top + 7);
        EXPECT_EQ(f().lblSelColor->BackColor(), 0) << k;
        EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel(colors, k), ReadoutOf(0)))) << k;
    }
    const Box white = CellBox(8);
    Press(white.left + 7, white.top + 7);
    EXPECT_EQ(f().lblSelColor->BackColor(), 16777215);

    // An add elsewhere writes them back as they were.
    Release(white.left + 7, white.top + 7);
    const Box target = CellBox(9);
    Press(target.left + 7, target.top + 7);
    Release(target.left + 7, target.top + 7);
    QTest::mouseClick(f().cmdADD, Qt::LeftButton);
    colors[9] = f().lblADDColor->BackColor();
    EXPECT_EQ(FileBytes(), FileOf(colors));
    EXPECT_TRUE(FileBytes().startsWith("-99 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n-5 \r\n 16777216 \r\n-2147483648 \r\n"));
}

TEST_F(SwatchPanelTest, AddStoresTheAddSampleInTheSelectedCellAndSavesAtOnce)
{
    QByteArray file = " 12345 \r\n";
    for (int i = 1; i <= 224; ++i)
        file += " 0 \r\n";
    {
        QFile out(FilePath());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    ClickPreset(); // the add sample takes the new colour: pure red
    ASSERT_EQ(f().lblADDColor->BackColor(), color::RGB(255, 0, 0));
    const Box c5 = CellBox(5);
    Press(c5.left + 4, c5.top + 4);
    Release(c5.left + 4, c5.top + 4);
    EXPECT_EQ(f().lblSelColor->BackColor(), 0);
    EXPECT_EQ(f().lblADDColor->BackColor(), color::RGB(255, 0, 0)) << "a swatch pick leaves the add sample";
    QTest::mouseClick(f().cmdADD, Qt::LeftButton);

    swatches::CustomColorArray colors{};
    colors[0] = 12345;
    colors[5] = 255;
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_EQ(FileBytes(), FileOf(colors));
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel(colors, 5), ReadoutOf(0))));

    // The same colour into a second cell is stored twice; a cell is replaced.
    const Box c6 = CellBox(6);
    Press(c6.left + 4, c6.top + 4);
    Release(c6.left + 4, c6.top + 4);
    QTest::mouseClick(f().cmdADD, Qt::LeftButton);
    f().lblADDColor->SetBackColor(color::RGB(0, 0, 255));
    Press(c5.left + 4, c5.top + 4);
    Release(c5.left + 4, c5.top + 4);
    QTest::mouseClick(f().cmdADD, Qt::LeftButton);
    colors[6] = 255;
    colors[5] = color::RGB(0, 0, 255);
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_EQ(FileBytes(), FileOf(colors));
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel(colors, 5), ReadoutOf(255))));

    // Reloading through the list shows what was saved.
    Choose(Safe);
    Choose(Custom);
    EXPECT_EQ(f().Panel().CustomColors(), colors);
    EXPECT_TRUE(SameImage(Image(), CustomPanel(colors, 5)));
}

TEST_F(SwatchPanelTest, FailedSaveIsShownAndTheColorStaysInThePanel)
{
    ASSERT_TRUE(QDir().mkdir(FilePath()));
    ClickPreset();
    const Box c3 = CellBox(3);
    Press(c3.left + 4, c3.top + 4);
    Release(c3.left + 4, c3.top + 4);
    {
        MessageBoxWatcher boxes;
        QTest::mouseClick(f().cmdADD, Qt::LeftButton);
        ASSERT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.captions[0], QStringLiteral("Tinctara"));
        const QString text = boxes.texts[0];
        const qsizetype at = text.indexOf(f().Panel().CustomColorsPath());
        ASSERT_GE(at, 0) << text.toStdString();
        EXPECT_GT(text.size(), at + f().Panel().CustomColorsPath().size() + 3) << "the reason follows the file";
    }
    EXPECT_EQ(f().Panel().CustomColors()[3], color::RGB(255, 0, 0));
    swatches::CustomColorArray colors{};
    colors[3] = color::RGB(255, 0, 0);
    EXPECT_TRUE(SameImage(Image(), WithReadout(f(), CustomPanel(colors, 3), ReadoutOf(0))));
    EXPECT_TRUE(QFileInfo(FilePath()).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("usercolors.cps")});
}

namespace {

// Answers Import's dialogs: the file dialog with `file`, the question with
// the button `choice`, each message with OK; keeps what the boxes said.
class DialogAnswers {
public:
    DialogAnswers(const QString& file, const QString& choice)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [=, this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && dialog->isVisible()) {
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
                texts.append(box->text());
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == choice || b == box->button(QMessageBox::Ok))
                        return b->click();
                box->reject();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

} // namespace

// The palettes Debian ships with MyPaint, each cell against the "R G B" that
// starts the palette's own line.
TEST_F(SwatchPanelTest, ImportedPalettesFillTheCellsFromTheirOwnLines)
{
    const QDir folder(QStringLiteral("/usr/share/mypaint/palettes"));
    const QStringList names = folder.entryList({QStringLiteral("*.gpl")}, QDir::Files);
    if (names.isEmpty())
        GTEST_SKIP() << "the palettes of Debian's mypaint-data are not installed";
    const QRegularExpression rgb(QStringLiteral("^\\s*(\\d+)\\s+(\\d+)\\s+(\\d+)(\\s|$)"));
    ClickPreset();
    for (const QString& name : names) {
        WriteFile({});
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        swatches::CustomColorArray want{};
        int n = 0;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (const auto m = rgb.match(QString::fromUtf8(line)); m.hasMatch() && ++n <= 224)
                want[n] = color::RGB(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        DialogAnswers answers(file.fileName(), QStringLiteral("&Replace from Cell 1"));
        f().mnuFileImport->trigger();
        ASSERT_EQ(answers.texts.size(), 2) << name.toStdString();
        EXPECT_EQ(answers.texts[1].contains(QStringLiteral("only the first 224 fit")), n > 224);
        EXPECT_EQ(FileBytes(), swatches::FormatCustomColors(want)) << name.toStdString();
        EXPECT_TRUE(SameImage(Image(), CustomPanel(want, 1))) << name.toStdString();
    }
}
