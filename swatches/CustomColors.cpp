#include "swatches/CustomColors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "color/NumberRules.h"
#include "swatches/SafePalette.h"

namespace swatches {

CustomColorArray ParseCustomColors(const QByteArray& bytes)
{
    CustomColorArray colors{};
    qsizetype start = 0;
    for (int i = 0; i <= CellCount && start < bytes.size(); ++i) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        const std::string_view line(bytes.constData() + start, size_t(stop - start));
        colors[i] = color::RoundToInt32(color::ParseLeadingNumber(line)).value_or(0);
        start = end + 1;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CustomColorArray{};
    // 225 lines of a few bytes each: more than this is not ours to read.
    return ParseCustomColors(file.read(1 << 20));
}

QString WriteCustomColorsFile(const QString& path, const CustomColorArray& colors)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = FormatCustomColors(colors);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
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

QString CustomColorsFolder(const QString& programFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable())
        return programFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

} // namespace swatches
