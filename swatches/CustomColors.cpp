#include "swatches/CustomColors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "color/NumberRules.h"
#include "swatches/FileAccess.h"
#include "swatches/SafePalette.h"

namespace swatches {

namespace {
// The desktop entry an install lays out, named by the build.
const QLatin1StringView DesktopEntryName(TINCTARA_DESKTOP_ENTRY);
} // namespace

CustomColorArray ParseCustomColors(const QByteArray& bytes)
{
    CustomColorArray colors{};
    qsizetype start = 0;
    for (int i = 0; i <= CellCount && start < bytes.size(); ++i) {
        // CR LF, LF and a lone CR each end a line.
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\n' && bytes[stop] != '\r')
            ++stop;
        const std::string_view line(bytes.constData() + start, size_t(stop - start));
        colors[i] = color::RoundToInt32(color::ParseLeadingNumber(line)).value_or(0);
        start = stop + 1;
        if (stop + 1 < bytes.size() && bytes[stop] == '\r' && bytes[stop + 1] == '\n')
            ++start;
    }
    return colors;
}

QByteArray FormatCustomColors(const CustomColorArray& colors)
{
    QByteArray out;
    out.reserve(colors.size() * 12);
    for (int32_t v : colors) {
        const int64_t wide = v;
        out += wide < 0 ? '-' : ' ';
        out += QByteArray::number(wide < 0 ? -wide : wide);
        out += " \r\n";
    }
    return out;
}

CustomColorArray ReadCustomColorsFile(const QString& path)
{
    return ParseCustomColors(ReadUserFile(path, CustomColorsReadLimit).bytes);
}

QString WriteCustomColorsFile(const QString& path, const CustomColorArray& colors)
{
    const QString reason = WriteFileAtomically(path, FormatCustomColors(colors));
    if (reason.isEmpty())
        RemoveLeftoverSaves(path);
    return reason;
}

void PaintCustomColors(platform::Surface& s, const Cells& cells, const CustomColorArray& colors,
                       int16_t SelectedCell)
{
    s.Cls();
    s.FillStyle = platform::FILLSTYLE_SOLID;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.DrawWidth = 1;
    for (int i = 1; i <= CellCount; ++i)
        PaintCell(s, cells[i], colors[i]);
    DrawSafePicker(s, cells, SelectedCell, false);
    s.Refresh();
}

bool IsInstalledCopy(const QString& programFolder)
{
    const QFileInfo folder(programFolder);
    return folder.fileName() == QLatin1String("bin") &&
           QFileInfo(programFolder + QStringLiteral("/../share/applications/") + DesktopEntryName).isFile();
}

QString CustomColorsFolder(const QString& programFolder)
{
    // A folder other users may write is no place for the user's file: they
    // could replace it, or put a link in its place.
    const QByteArray name = QFile::encodeName(programFolder);
    struct stat st {};
    const bool ownFolder = ::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
                           (st.st_mode & S_IWOTH) == 0 && ::access(name.constData(), W_OK) == 0;
    if (ownFolder && !IsInstalledCopy(programFolder))
        return programFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

} // namespace swatches
