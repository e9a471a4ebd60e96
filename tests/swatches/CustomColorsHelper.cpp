// Runs custom colours file operations in a process of its own, so a test
// can kill it mid-save or run it as another user.
//   uid                          print the effective user id
//   loop <file> <first>          save generations first, first+1, ... until
//                                killed, printing each number once saved
//   save <programFolder> <value> save an array of `value` where the program
//                                would keep the file; print the file and
//                                the reason of a failure
#include <unistd.h>

#include <cstdio>
#include <string>

#include <QCoreApplication>

#include "SaveGenerations.h"
#include "swatches/CustomColors.h"

namespace {

// Straight to the pipe: a killed process leaves nothing in a buffer.
void Say(const std::string& text)
{
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, left);
        if (n <= 0)
            return;
        p += n;
        left -= size_t(n);
    }
}

int Loop(const QString& file, uint64_t first)
{
    for (uint64_t n = first;; ++n) {
        const QString reason = swatches::WriteCustomColorsFile(file, swatch_testing::Generation(n));
        if (!reason.isEmpty()) {
            Say("failed: " + reason.toStdString() + "\n");
            return 1;
        }
        Say(std::to_string(n) + "\n");
    }
}

int Save(const QString& programFolder, int32_t value)
{
    swatches::CustomColorArray colors;
    colors.fill(value);
    const QString file = swatches::CustomColorsFolder(programFolder) + QStringLiteral("/") +
                         swatches::CustomColorsFileName;
    const QString reason = swatches::WriteCustomColorsFile(file, colors);
    Say(file.toStdString() + "\n" + reason.toStdString() + "\n");
    return reason.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tinctara"));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("uid")) {
        Say(std::to_string(::geteuid()) + "\n");
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("loop"))
        return Loop(args[2], args[3].toULongLong());
    if (args.size() == 4 && args[1] == QLatin1String("save"))
        return Save(args[2], args[3].toInt());
    std::fprintf(stderr, "usage: %s uid | loop <file> <first> | save <programFolder> <value>\n", argv[0]);
    return 2;
}
