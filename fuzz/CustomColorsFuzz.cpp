// Any bytes as a custom colours file: the read must be safe, lines past
// the end must read 0, and what is written back from the array must keep
// the exact line layout and read back to the same array.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>

#include "swatches/CustomColors.h"

namespace {

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

// Lines the reader sees: every LF, CR LF and lone CR ends one, and text
// after the last one is a line too.
size_t LineCount(const QByteArray& bytes)
{
    size_t lines = size_t(bytes.count('\n') + bytes.count('\r') - bytes.count("\r\n"));
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        ++lines;
    return lines;
}

// 225 lines of a space or minus, digits without a leading zero, a space
// and CR LF.
void CheckLayout(const QByteArray& written)
{
    qsizetype i = 0;
    for (int line = 0; line < 225; ++line) {
        Require(i < written.size() && (written[i] == ' ' || written[i] == '-'), "line starts with its sign");
        const qsizetype digits = ++i;
        while (i < written.size() && written[i] >= '0' && written[i] <= '9')
            ++i;
        Require(i > digits, "line holds digits");
        Require(written[digits] != '0' || i == digits + 1, "no leading zero");
        Require(written.mid(i, 3) == " \r\n", "line ends in space CR LF");
        i += 3;
    }
    Require(i == written.size(), "nothing after the 225th line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const swatches::CustomColorArray colors = swatches::ParseCustomColors(bytes);
    for (size_t i = LineCount(bytes); i < colors.size(); ++i)
        Require(colors[i] == 0, "a missing line reads 0");

    const QByteArray written = swatches::FormatCustomColors(colors);
    CheckLayout(written);
    Require(swatches::ParseCustomColors(written) == colors, "the written file reads back the same");
    return 0;
}
