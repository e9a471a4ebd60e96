// Any bytes as a palette to import: the read must be safe and give only
// colours, with the skipped lines counted; and the colours it gave, put
// into the custom colours and exported, must read back as exactly those
// colours.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>

#include "color/ColorValue.h"
#include "swatches/PaletteText.h"

namespace {

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const swatches::PaletteRead read = swatches::ReadPalette(bytes);
    for (int32_t c : read.colors)
        Require(color::IsColor(c), "every colour read is a colour");
    Require((read.skipped == 0) == (read.firstBadLine == 0), "the first skipped line is named");
    const qsizetype lines = bytes.count('\n') + bytes.count('\r') - bytes.count("\r\n") + 1;
    Require(qsizetype(read.colors.size()) + read.skipped <= lines, "at most one colour or fault a line");

    // Every eighth input, in one format chosen by it, with the colours read
    // in the first cells (an export is 224 lines, slower than most reads):
    // the export must read back whole and the same.
    if (size == 0 || read.colors.empty() || data[0] % 8 > 2)
        return 0;
    swatches::CustomColorArray cells{};
    for (size_t i = 0; i < read.colors.size() && i < size_t(swatches::CellCount); ++i)
        cells[i + 1] = read.colors[i];
    const auto format = swatches::PaletteFormat(data[0] % 3);
    const swatches::PaletteRead back = swatches::ReadPalette(swatches::FormatPalette(cells, format));
    Require(back.skipped == 0 && back.colors.size() == size_t(swatches::CellCount), "an export reads whole");
    for (int k = 1; k <= swatches::CellCount; ++k)
        Require(back.colors[size_t(k - 1)] == cells[size_t(k)], "an export reads back the same colours");
    return 0;
}
