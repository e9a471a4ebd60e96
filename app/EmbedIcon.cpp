// Build tool: writes a picture's pixels as a C++ array (see IconPixels.h).
// Usage: EmbedIcon PICTURE OUTPUT.cpp
#include <cstdio>

#include <QFile>
#include <QImage>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: EmbedIcon PICTURE OUTPUT.cpp\n");
        return 2;
    }
    const QImage picture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "EmbedIcon: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "EmbedIcon: cannot write %s\n", argv[2]);
        return 1;
    }
    QTextStream out(&file);
    out << "// Written by EmbedIcon from the window's picture; do not edit.\n"
        << "#include \"app/IconPixels.h\"\n\nnamespace app {\n\n"
        << "const int ProgramIconWidth = " << picture.width() << ";\n"
        << "const int ProgramIconHeight = " << picture.height() << ";\n"
        << "const uint32_t ProgramIconPixels[] = {\n";
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        out << "   ";
        for (int x = 0; x < picture.width(); ++x)
            out << " 0x" << QString::number(row[x], 16).rightJustified(8, QLatin1Char('0')) << "u,";
        out << "\n";
    }
    out << "};\n\n} // namespace app\n";
    return out.status() == QTextStream::Ok && file.flush() ? 0 : 1;
}
