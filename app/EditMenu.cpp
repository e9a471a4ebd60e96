// The Edit menu: the new colour copied as text, and a colour picked from
// anywhere on the screen. Copy As, Paste Colour and Contrast are in
// ColorTextMenu.cpp.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/ColorPortal.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "app/ScreenAccess.h"
#include "app/ScreenPicker.h"
#include "color/CopyFormat.h"

void Form1::CreateEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEditCopy = mnuEdit->addAction(QStringLiteral("&Copy Colour"));
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    CreateColorTextItems();
    mnuEditPick = mnuEdit->addAction(QStringLiteral("Pick from &Screen"));
    mnuEditPick->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    mnuEdit->addSeparator();
    mnuEditContrast = mnuEdit->addAction(QStringLiteral("Con&trast\u2026"));
    connect(mnuEditContrast, &QAction::triggered, this, [this] { mnuEditContrast_Click(); });
    // A value box runs its handler on every key released in it; the keys of
    // an Edit shortcut are the menu's, so their releases are kept from the
    // boxes (the chord would otherwise redo a typed value and reset the new
    // colour).
    keyPresses_->SetMenuShortcuts({mnuEditCopy, mnuEditPaste, mnuEditPick});
    connect(mnuEditCopy, &QAction::triggered, this, [this] { mnuEditCopy_Click(); });
    // Queued: chosen with the mouse, the menu lets go of the pointer only
    // once it has closed, and would end the pick's hold on it.
    connect(mnuEditPick, &QAction::triggered, this, [this] { mnuEditPick_Click(); }, Qt::QueuedConnection);

    ScreenPick = new app::ScreenPicker(this, app::DesktopScreen(), std::make_unique<app::ColorPortal>());
    // The preview is not yet taken: no readout, and a cancel puts it back.
    connect(ScreenPick, &app::ScreenPicker::preview, this, &Form1::ShowNewColor);
    connect(ScreenPick, &app::ScreenPicker::taken, this, [this](int32_t c) { TakeOutsideColor(c, true); });
    connect(ScreenPick, &app::ScreenPicker::cancelled, this, [this] {
        lblSelColor->SetBackColor(beforeScreenPick_.sample);
        txtRed->setText(beforeScreenPick_.red);
        txtGreen->setText(beforeScreenPick_.green);
        txtBlue->setText(beforeScreenPick_.blue);
    });
    connect(ScreenPick, &app::ScreenPicker::unavailable, this, [this](const QString& message) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tinctara"), message, QMessageBox::Ok, this);
        box.exec();
    });
}

void Form1::mnuEditCopy_Click()
{
    // In the format last chosen under Copy As, "#RRGGBB" until one is; a
    // value that is no colour shows as black, and is copied so.
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(color::FormatColorText(lblSelColor->BackColor(), copyFormat_)));
}

void Form1::mnuEditPick_Click()
{
    if (ScreenPick->Holding())
        return;
    beforeScreenPick_ = {lblSelColor->BackColor(), txtRed->text(), txtGreen->text(), txtBlue->text()};
    ScreenPick->Start();
}
