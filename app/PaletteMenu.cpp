// The File menu's Export and Import: the custom colours as a palette that
// other programs read (GIMP, Inkscape, Krita, Scribus, MyPaint), and
// palettes or lists of colour text taken into the custom colours.
#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "app/Form1.h"
#include "swatches/FileAccess.h"
#include "swatches/PaletteText.h"

namespace {

struct ExportType {
    const char* filter;
    const char* suffix;
    swatches::PaletteFormat format;
};

constexpr ExportType ExportTypes[] = {
    {"GIMP palette (*.gpl)", "gpl", swatches::PaletteFormat::Gimp},
    {"CSS custom properties (*.css)", "css", swatches::PaletteFormat::Css},
    {"Hex colour lines (*.txt)", "txt", swatches::PaletteFormat::Hex},
};

// Palettes are small; a file far larger than any is not one.
constexpr qsizetype ImportLimit = 16 << 20;

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QStringLiteral("Tinctara"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString ColorCountText(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 colour") : QStringLiteral("%1 colours").arg(n);
}

} // namespace

void Form1::CreatePaletteItems()
{
    mnuFileExport = new QAction(QStringLiteral("&Export Custom Colours\u2026"), this);
    mnuFileImport = new QAction(QStringLiteral("&Import Custom Colours\u2026"), this);
    mnuFile->insertAction(mnuFileExit, mnuFileExport);
    mnuFile->insertAction(mnuFileExit, mnuFileImport);
    mnuFile->insertSeparator(mnuFileExit);
    connect(mnuFileExport, &QAction::triggered, this, [this] { mnuFileExport_Click(); });
    connect(mnuFileImport, &QAction::triggered, this, [this] { mnuFileImport_Click(); });
}

void Form1::mnuFileExport_Click()
{
    QStringList filters;
    for (const ExportType& t : ExportTypes)
        filters << QString::fromLatin1(t.filter);
    QString chosen = filters.first();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Custom Colours"),
                                                QDir::home().filePath(QStringLiteral("tinctara.gpl")),
                                                filters.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty())
        return;
    const ExportType& type = ExportTypes[std::max<qsizetype>(0, filters.indexOf(chosen))];
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(type.suffix);

    // What is stored, as the panel shows it when it opens.
    const swatches::FileRead stored = swatches::ReadCustomColorsPlace(panel_.Place());
    if (stored.result == swatches::FileRead::Result::Failed) {
        Tell(this, QMessageBox::Warning,
             QStringLiteral("The custom colours could not be exported: %1: %2.")
                 .arg(panel_.CustomColorsPath(), stored.reason));
        return;
    }
    const QByteArray bytes = swatches::FormatPalette(swatches::ParseCustomColors(stored.bytes), type.format);
    const QString reason = swatches::WriteFileAtomically(path, bytes);
    if (!reason.isEmpty())
        Tell(this, QMessageBox::Warning,
             QStringLiteral("The custom colours could not be exported to %1: %2").arg(path, reason));
}

void Form1::mnuFileImport_Click()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Import Custom Colours"), QDir::homePath(),
        QStringLiteral("Palettes and colour lists (*.gpl *.css *.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    const swatches::FileRead file = swatches::ReadRegularFile(path, ImportLimit);
    if (file.result != swatches::FileRead::Result::Read) {
        const QString why = file.result == swatches::FileRead::Result::Missing
                                ? QStringLiteral("it does not exist")
                                : file.reason;
        Tell(this, QMessageBox::Warning, QStringLiteral("No colours were imported from %1: %2.").arg(path, why));
        return;
    }
    const swatches::PaletteRead palette = swatches::ReadPalette(file.bytes);
    if (palette.colors.empty()) {
        const QString why = palette.skipped == 0
                                ? QStringLiteral("it holds no colours")
                                : QStringLiteral("it is not a palette; line %1 cannot be read as a colour: %2")
                                      .arg(palette.firstBadLine)
                                      .arg(palette.firstBadText);
        Tell(this, QMessageBox::Warning, QStringLiteral("No colours were imported from %1: %2.").arg(path, why));
        return;
    }

    const int16_t selected = panel_.SelectedCell();
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Tinctara"),
                    QStringLiteral("%1 holds %2. Replace the custom colours from cell 1, or fill them in from "
                                   "the selected cell (cell %3)? Cells after the last colour taken keep theirs.")
                        .arg(QFileInfo(path).fileName(), ColorCountText(qsizetype(palette.colors.size())))
                        .arg(selected),
                    QMessageBox::Cancel, this);
    QPushButton* fromFirst = ask.addButton(QStringLiteral("&Replace from Cell 1"), QMessageBox::AcceptRole);
    QPushButton* fromSelected =
        ask.addButton(QStringLiteral("&Fill from Cell %1").arg(selected), QMessageBox::AcceptRole);
    ask.setDefaultButton(fromFirst);
    ask.exec();
    if (ask.clickedButton() != fromFirst && ask.clickedButton() != fromSelected)
        return;
    const int16_t first = ask.clickedButton() == fromFirst ? int16_t(1) : selected;

    const qsizetype room = swatches::CellCount + 1 - first;
    const qsizetype taken = std::min<qsizetype>(room, qsizetype(palette.colors.size()));
    const std::vector<int32_t> colors(palette.colors.begin(), palette.colors.begin() + taken);
    const QString reason = panel_.StoreColors(first, colors);
    if (!reason.isEmpty()) {
        ShowSaveFailure(reason);
        return;
    }
    const QString name = QFileInfo(path).fileName();
    QString said = taken == 1 ? QStringLiteral("Took 1 colour from %1 into cell %2.").arg(name).arg(first)
                              : QStringLiteral("Took %1 from %2 into cells %3 to %4.")
                                    .arg(ColorCountText(taken), name)
                                    .arg(first)
                                    .arg(first + taken - 1);
    if (qsizetype(palette.colors.size()) > taken)
        said += QStringLiteral(" The file holds %1; only the first %2 fit.")
                    .arg(ColorCountText(qsizetype(palette.colors.size())))
                    .arg(taken);
    if (palette.skipped > 0)
        said += palette.skipped == 1 ? QStringLiteral(" Skipped 1 line that held no colour.")
                                     : QStringLiteral(" Skipped %1 lines that held no colour.").arg(palette.skipped);
    Tell(this, QMessageBox::Information, said);
}
