#include "app/Form1.h"

#include <array>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QThread>
#include <QTimer>

#include "app/Controls.h"
#include "app/SystemLook.h"
#include "color/ColorValue.h"
#include "color/HexText.h"
#include "color/NumberRules.h"

namespace {

template <class W>
W* Place(W* w, int left, int top, int width, int height)
{
    w->setGeometry(left, top, width, height);
    return w;
}

// What a screen reader announces for a control with this caption.
QString Spoken(QString caption)
{
    caption.remove(QLatin1Char('&'));
    return caption.trimmed();
}

// A caption-less frame. It hides the surface behind it: the readout printed
// there while the picker shows must not be seen through the value boxes.
QFrame* MakeFrame(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    f->setAutoFillBackground(true);
    return f;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setAccessibleName(Spoken(caption));
    b->setAutoDefault(false);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, const QString& tip = QString())
{
    auto* l = new QLabel(caption, parent);
    l->setToolTip(tip);
    l->setAccessibleName(tip.isEmpty() ? Spoken(caption) : tip);
    return l;
}

app::TextBox* MakeBox(QWidget* parent, app::KeyPresses* keys, const QString& text, const QString& tip)
{
    auto* t = new app::TextBox(parent, keys);
    t->setText(text);
    t->setToolTip(tip);
    t->setAccessibleName(tip);
    t->setTextMargins(0, 0, 0, 0);
    return t;
}

QRadioButton* MakeOption(QWidget* parent, const QString& caption, const QString& tip)
{
    auto* o = new app::OptionButton(caption, parent);
    o->setToolTip(tip);
    o->setAccessibleName(tip);
    return o;
}

app::ColorLabel* MakeSample(QWidget* parent, const QString& name)
{
    auto* l = new app::ColorLabel(parent);
    l->setAccessibleName(name);
    return l;
}

} // namespace

Form1::Form1(const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent),
      view_(ClientWidth, ClientHeight, app::SystemColorsFrom(QApplication::palette()), app::WindowFont()),
      panel_(view_.Surface(), dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : dataFolder)
{
    setWindowTitle(QStringLiteral("Tinctara"));
    setWindowIcon(app::ProgramIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(app::WindowFont());

    platform::Surface& surface = view_.Surface();
    Client = new app::ClientArea(this, surface);
    Client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(Client);
    Client->setAccessibleName(QStringLiteral("Colour picker"));
    // Only what the drawing changed is painted again, gathered over the whole
    // event: one update once the handler is done, however many figures it
    // drew (the paint itself comes later still).
    const auto show = [this] {
        if (showQueued_)
            return;
        showQueued_ = true;
        QMetaObject::invokeMethod(
            Client,
            [this] {
                showQueued_ = false;
                Client->update(view_.Surface().TakeChanged());
                DescribeClient();
            },
            Qt::QueuedConnection);
    };
    surface.SetRefreshHandler(show);
    surface.SetChangeHandler(show);
    connect(Client, &app::ClientArea::mouseDown, this, &Form1::Form_MouseDown);
    connect(Client, &app::ClientArea::mouseMoved, this, &Form1::Form_MouseMove);
    connect(Client, &app::ClientArea::mouseUp, this, &Form1::Form_MouseUp);

    CreateControls();
    CreateMenus();
    SetTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

Form1::~Form1()
{
    // The About window has no owner; it does not outlive the program's window.
    delete about_.data();
}

void Form1::CreateControls()
{
    QWidget* c = Client;
    keyPresses_ = new app::KeyPresses(this);
    app::KeyPresses* keys = keyPresses_;
    cmdOK = Place(MakeButton(c, QStringLiteral("O&K")), 370, 176, 55, 27);
    fraAdd = Place(MakeFrame(c), 302, 204, 65, 31);
    lblADDColor = Place(MakeSample(fraAdd, QStringLiteral("Colour to add")), 2, 8, 57, 23);
    lblADDColor->SetBackColor(platform::FromQRgb(QApplication::palette().color(QPalette::Base).rgb()));
    lblADDColor->hide();
    cmdPreset = Place(MakeButton(c, QStringLiteral("&Preset")), 370, 208, 55, 27);
    cmdADD = Place(MakeButton(c, QStringLiteral(" << Add    ")), 304, 240, 57, 27);
    cmdADD->hide();
    cmbPreset = Place(new QComboBox(c), 310, 144, 115, 21);
    cmbPreset->setPlaceholderText(QStringLiteral("Safe Colors"));
    cmbPreset->setAccessibleName(QStringLiteral("Safe Colors"));
    cmbPreset->hide();

    fraSamples = Place(MakeFrame(c), 308, 2, 113, 67);
    lblOld = Place(MakeLabel(fraSamples, QStringLiteral("Old")), 70, 10, 19, 13);
    lblOldColor = Place(MakeSample(fraSamples, QStringLiteral("Old colour")), 57, 24, 48, 29);
    lblOldColor->SetBackColor(color::RGB(255, 0, 0));
    lblNew = Place(MakeLabel(fraSamples, QStringLiteral("New")), 20, 10, 31, 13);
    lblSelColor = Place(MakeSample(fraSamples, QStringLiteral("New colour")), 8, 24, 49, 29);
    lblSelColor->SetBackColor(color::RGB(255, 0, 0));

    fraValues = Place(MakeFrame(c), 306, 64, 137, 149);
    txtBlue = Place(MakeBox(fraValues, keys, QStringLiteral("0"), QStringLiteral("Blue")), 92, 72, 25, 19);
    txtGreen = Place(MakeBox(fraValues, keys, QStringLiteral("0"), QStringLiteral("Green")), 92, 52, 25, 19);
    txtRed = Place(MakeBox(fraValues, keys, QStringLiteral("255"), QStringLiteral("Red")), 92, 32, 25, 19);
    txtH = Place(MakeBox(fraValues, keys, QStringLiteral("0"), QStringLiteral("Hue")), 30, 32, 25, 19);
    txtS = Place(MakeBox(fraValues, keys, QStringLiteral("100"), QStringLiteral("Saturation")), 30, 52, 25, 19);
    txtB = Place(MakeBox(fraValues, keys, QStringLiteral("100"), QStringLiteral("Brightness")), 30, 72, 25, 19);
    optH = Place(MakeOption(fraValues, QStringLiteral("H:"), QStringLiteral("Hue")), 0, 34, 31, 17);
    optS = Place(MakeOption(fraValues, QStringLiteral("S:"), QStringLiteral("Saturation")), 0, 54, 31, 17);
    optB = Place(MakeOption(fraValues, QStringLiteral("B:"), QStringLiteral("Brightness")), 0, 74, 33, 17);
    optH->setChecked(true);
    lblR = Place(MakeLabel(fraValues, QStringLiteral("R:"), QStringLiteral("Red")), 80, 34, 13, 15);
    lblG = Place(MakeLabel(fraValues, QStringLiteral("G:"), QStringLiteral("Green")), 80, 54, 15, 15);
    lblB = Place(MakeLabel(fraValues, QStringLiteral("B:"), QStringLiteral("Blue")), 80, 74, 13, 15);
    lblS = Place(MakeLabel(fraValues, QStringLiteral("%")), 56, 54, 11, 13);
    lblBB = Place(MakeLabel(fraValues, QStringLiteral("%")), 56, 74, 13, 17);
    lblH = Place(MakeLabel(fraValues, QStringLiteral("\u00B0")), 56, 32, 7, 11);
    for (QLabel* l : {lblS, lblBB, lblH})
        l->setFont(app::ArialFont());
    // The R, G, B captions reach a column or three into the boxes beside
    // them, where they draw nothing. With the boxes on top, a new value
    // repaints the box alone and not the caption as well.
    for (app::TextBox* box : {txtRed, txtGreen, txtBlue})
        box->raise();

    cmdCancel = Place(MakeButton(c, QStringLiteral("&Cancel")), 370, 240, 55, 27);

    // The value frame reaches over OK and Preset; the buttons stay on top so
    // they can be clicked there.
    cmdOK->raise();
    cmdPreset->raise();

    connect(txtH, &app::TextBox::keyReleased, this, [this](int key) { txtH_KeyUp(key, 0); });
    connect(txtS, &app::TextBox::keyReleased, this, [this](int key) { txtS_KeyUp(key, 0); });
    connect(txtB, &app::TextBox::keyReleased, this, [this](int key) { txtB_KeyUp(key, 0); });
    // Checked once the focus has settled on the other control, so the
    // message box never opens in the middle of a focus change.
    connect(txtH, &app::TextBox::focusLost, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && focusWidget() != txtH)
                txtH_LostFocus();
        });
    });

    for (auto [option, handler] : {std::pair{optH, &Form1::optH_Click}, {optS, &Form1::optS_Click},
                                   {optB, &Form1::optB_Click}})
        connect(option, &QRadioButton::toggled, this, [this, handler = handler](bool on) {
            if (on)
                (this->*handler)();
        });
    connect(lblOldColor, &app::ColorLabel::clicked, this, &Form1::lblOldColor_Click);
    connect(lblSelColor, &app::ColorLabel::clicked, this, &Form1::lblSelColor_Click);
    connect(lblADDColor, &app::ColorLabel::clicked, this, &Form1::lblADDColor_Click);
    connect(cmdPreset, &QPushButton::clicked, this, [this] { cmdPreset_Click(); });
    connect(cmbPreset, &QComboBox::activated, this, [this] { cmbPreset_Click(); });
    connect(cmdADD, &QPushButton::clicked, this, [this] { cmdADD_Click(); });
    // Escape cancels, as in any dialog; Enter has no default button to press,
    // so typing a value and pressing Enter never closes the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { cmdCancel_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void Form1::CreateMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileExit = mnuFile->addAction(QStringLiteral("Exit"));
    CreatePaletteItems();
    CreateEditMenu();
    mnuabout = menuBar()->addMenu(QStringLiteral("&About"));
    mnucolorabout = mnuabout->addAction(QStringLiteral("About Tinctara"));
    connect(mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(mnucolorabout, &QAction::triggered, this, [this] { mnucolorabout_Click(); });
}

void Form1::SetTabOrder()
{
    // Focusable controls in the order of their tab indexes.
    QWidget* const order[] = {cmdOK, cmdCancel, cmdPreset, optB, optS, optH, txtB,
                              txtS, txtH, txtRed, txtGreen, txtBlue, cmbPreset, cmdADD};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Form1::Form_Load()
{
    panel_.BuildCells();
    panel_.SetPresetMode(PresetPicker);
    view_.SetUp();
    const color::PickerGeometry& g = view_.Geometry();
    {
        const QSignalBlocker quiet(cmbPreset);
        cmbPreset->addItem(QStringLiteral("Custom..."));
        cmbPreset->addItem(QStringLiteral("Safe Palette (216)"));
        cmbPreset->setCurrentIndex(-1);
    }
    DrawHueStrip();
    view_.Place(g.FieldRight, g.FieldTop, static_cast<float>(g.StripBottom));
    view_.DrawStripMarks();
    DrawPicker();
    DrawHueField(255, 0, 0);
    panel_.Select(1);
    view_.Surface().ForeColor = 0;
}

void Form1::LoadColorDialog(int32_t oldColor)
{
    lblSelColor->SetBackColor(oldColor);
}

void Form1::GetHexVal(const int16_t& Red, const int16_t& Green, const int16_t& Blue, std::string& strHex) const
{
    color::GetHexVal(Red, Green, Blue, strHex);
}

void Form1::DrawPicker()
{
    view_.DrawPicker();
}

void Form1::DrawSelFrame()
{
    view_.DrawSelFrame();
}

void Form1::DrawMainFrame()
{
    view_.DrawMainFrame();
}

void Form1::DrawHueStrip()
{
    // The window is first shown here, with the strip, before the field.
    show();
    Client->TrackPointerOn(windowHandle());
    view_.DrawHueStrip();
}

void Form1::DrawHueField(int16_t red, int16_t green, int16_t blue)
{
    view_.DrawHueField(red, green, blue);
}

void Form1::cmdOK_Click()
{
    close();
}

void Form1::cmdCancel_Click()
{
    close();
}

void Form1::mnuFileExit_Click()
{
    close();
    QApplication::closeAllWindows();
    // Ends the program at once, whatever other window is still open.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void Form1::mnucolorabout_Click()
{
    if (!about_) {
        about_ = new frmAbout();
        about_->show();
        about_->CenterOnScreen();
    } else {
        about_->show();
    }
    about_->raise();
    about_->activateWindow();
}

double Form1::BoxValue(const app::TextBox* box)
{
    // A drag reads the boxes it does not change on every step: the last few
    // texts read, and their values, are kept.
    struct Read {
        QString text;
        double value = 0;
    };
    static std::array<Read, 8> reads;
    static size_t next = 0;
    const QString text = box->text();
    for (const Read& r : reads)
        if (!r.text.isNull() && r.text == text)
            return r.value;
    Read& r = reads[next++ % reads.size()];
    r = {text, color::ParseLeadingNumber(text.toStdString())};
    return r.value;
}

void Form1::SetBoxText(app::TextBox* box, int64_t value)
{
    // Setting the text a box already holds would still repaint it.
    const QString text = QString::fromStdString(color::IntegerText(value));
    if (box->text() != text)
        box->setText(text);
}

void Form1::ShowChannels(int32_t colorValue)
{
    int16_t red, green, blue;
    color::SplitColor(colorValue, red, green, blue);
    SetBoxText(txtRed, red);
    SetBoxText(txtGreen, green);
    SetBoxText(txtBlue, blue);
}

void Form1::ShowNewColor(int32_t colorValue)
{
    lblSelColor->SetBackColor(colorValue);
    ShowChannels(colorValue);
}

void Form1::TakeOutsideColor(int32_t colorValue, bool showChannels)
{
    TakeOutsideColor(colorValue, showChannels, color::InfoOf(colorValue));
}

void Form1::TakeOutsideColor(int32_t colorValue, bool showChannels, const color::ColorInfo& info)
{
    if (showChannels)
        ShowNewColor(colorValue);
    else
        lblSelColor->SetBackColor(colorValue);
    if (panel_.Showing())
        DrawColorInfo(info.red, info.green, info.blue, info.hex);
}
