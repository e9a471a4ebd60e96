// The Edit menu's colour text: Copy As (the new colour in the notation a
// stylesheet or design tool wants, remembered as Copy Colour's format),
// Paste Colour (any stylesheet colour from the clipboard) and the contrast
// window.
#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>

#include "app/ContrastWindow.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "app/ScreenPicker.h"
#include "color/ParseColorText.h"

namespace {

// The desktop's configuration folder, Tinctara/Tinctara.conf there. The
// copy format is the only thing stored.
const QString SettingsName = QStringLiteral("Tinctara");
const QString CopyFormatKey = QStringLiteral("CopyFormat");

// At most this many characters of refused text are quoted back.
constexpr qsizetype QuotedLength = 40;

// The message for clipboard text that names no colour: its start, on one
// line, so the user sees what was read.
QString NoColorMessage(const QString& clipboard)
{
    const QString text = clipboard.trimmed();
    if (text.isEmpty())
        return QStringLiteral("The clipboard holds no text to read a colour from.");
    // Counted in characters, not in UTF-16 units, so no pair is cut apart.
    const QList<uint> characters = text.toUcs4();
    QList<uint> quoted = characters.first(std::min(characters.size(), QuotedLength));
    for (uint& c : quoted)
        if (c < 0x20 || c == 0x7F)
            c = ' ';
    QString quote = QString::fromUcs4(reinterpret_cast<const char32_t*>(quoted.constData()), quoted.size());
    if (characters.size() > QuotedLength)
        quote += QChar(0x2026);
    return QStringLiteral("The clipboard holds no colour: \"%1\".\n\n"
                          "Colours are read as #3366CC, rgb(51 102 204), hsl(220 60% 50%), hwb(), lab(), "
                          "lch(), oklab(), oklch() or by name, such as teal.")
        .arg(quote);
}

} // namespace

void Form1::CreateColorTextItems()
{
    const QSettings settings(SettingsName, SettingsName);
    if (const auto stored = color::CopyFormatFromKey(settings.value(CopyFormatKey).toString().toStdString()))
        copyFormat_ = *stored;

    mnuEditCopyAs = mnuEdit->addMenu(QStringLiteral("Copy &As"));
    auto* group = new QActionGroup(mnuEditCopyAs);
    for (color::CopyFormat format : color::CopyFormats) {
        QAction* item = mnuEditCopyAs->addAction(QString());
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, format] { mnuEditCopyAs_Click(format); });
        mnuEditCopyAsItems.append(item);
    }
    // Each caption is the new colour's text, as it is when the menu opens.
    connect(mnuEditCopyAs, &QMenu::aboutToShow, this, &Form1::ShowCopyAsCaptions);
    ShowCopyAsCaptions();

    mnuEditPaste = mnuEdit->addAction(QStringLiteral("&Paste Colour"));
    mnuEditPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    connect(mnuEditPaste, &QAction::triggered, this, [this] { mnuEditPaste_Click(); });
}

void Form1::ShowCopyAsCaptions()
{
    for (qsizetype i = 0; i < mnuEditCopyAsItems.size(); ++i) {
        const color::CopyFormat format = color::CopyFormats[static_cast<size_t>(i)];
        mnuEditCopyAsItems[i]->setText(
            QString::fromStdString(color::FormatColorText(lblSelColor->BackColor(), format)));
        mnuEditCopyAsItems[i]->setChecked(format == copyFormat_);
    }
}

void Form1::mnuEditCopyAs_Click(color::CopyFormat format)
{
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(color::FormatColorText(lblSelColor->BackColor(), format)));
    copyFormat_ = format;
    ShowCopyAsCaptions();
    QSettings settings(SettingsName, SettingsName);
    settings.setValue(CopyFormatKey, QString::fromLatin1(color::CopyFormatKey(format)));
    settings.sync();
    // The copy is made and the format holds for this run either way; only
    // the next run would not know it.
    if (settings.status() != QSettings::NoError) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tinctara"),
                        QStringLiteral("The copy format could not be remembered for the next start: "
                                       "%1 cannot be written.")
                            .arg(settings.fileName()),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

void Form1::mnuEditPaste_Click()
{
    // A pick from the screen in progress has the pointer and the new colour.
    if (ScreenPick->Holding())
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (const std::optional<int32_t> value = color::ParseColorText(text.toStdString())) {
        TakeOutsideColor(*value, true);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tinctara"), NoColorMessage(text), QMessageBox::Ok, this);
    box.exec();
}

void Form1::mnuEditContrast_Click()
{
    if (!contrast_) {
        contrast_ = new app::ContrastWindow(this);
        const auto follow = [this] { contrast_->SetColors(lblSelColor->BackColor(), lblOldColor->BackColor()); };
        connect(lblSelColor, &app::ColorLabel::backColorChanged, contrast_, follow);
        connect(lblOldColor, &app::ColorLabel::backColorChanged, contrast_, follow);
        follow();
        contrast_->adjustSize();
        // Beside the window, where it hides nothing of it, when the screen
        // has room there (a Wayland compositor places it itself).
        const QRect frame = frameGeometry();
        const QScreen* screen = this->screen();
        const QPoint beside = frame.topRight() + QPoint(8, 0);
        if (screen && screen->availableGeometry().contains(QRect(beside, contrast_->frameGeometry().size())))
            contrast_->move(beside);
    }
    contrast_->show();
    contrast_->raise();
    contrast_->activateWindow();
}

app::ContrastWindow* Form1::Contrast() const
{
    return contrast_;
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The contrast window belongs to this one and does not stay behind it.
    if (contrast_)
        contrast_->close();
    QMainWindow::closeEvent(event);
}
