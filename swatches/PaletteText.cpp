#include "swatches/PaletteText.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "color/ColorValue.h"
#include "color/ParseColorText.h"

namespace swatches {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// "R G B" at the start of a line of a GIMP palette, each 0 to 255; a name
// may follow after a blank.
std::optional<int32_t> GimpColor(std::string_view line)
{
    int channel[3];
    for (int& c : channel) {
        line = Trim(line);
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), c);
        if (error != std::errc() || c < 0 || c > 255)
            return std::nullopt;
        line.remove_prefix(size_t(end - line.data()));
        if (!line.empty() && !IsBlank(line.front()))
            return std::nullopt;
    }
    return color::RGB(channel[0], channel[1], channel[2]);
}

bool IsPropertyName(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            return false;
    return true;
}

// A line of colour text: the colour itself, or a stylesheet declaration
// whose value is one ("--tinctara-1: #FF0000;").
std::optional<int32_t> TextColor(std::string_view line)
{
    if (const auto c = color::ParseColorText(line))
        return c;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsPropertyName(Trim(line.substr(0, colon))))
        return std::nullopt;
    return color::ParseColorText(line.substr(colon + 1));
}

// The braces around exported declarations hold no colour and are no fault.
bool IsRuleLine(std::string_view line)
{
    return line == "}" || (!line.empty() && line.back() == '{');
}

} // namespace

QByteArray FormatPalette(const CustomColorArray& colors, PaletteFormat format)
{
    QByteArray out;
    if (format == PaletteFormat::Gimp)
        out = "GIMP Palette\nName: Tinctara custom colours\nColumns: 16\n";
    else if (format == PaletteFormat::Css)
        out = ":root {\n";
    for (int k = 1; k <= CellCount; ++k) {
        const int32_t v = color::IsColor(colors[k]) ? colors[k] : 0;
        const int r = v & 0xFF, g = (v >> 8) & 0xFF, b = (v >> 16) & 0xFF;
        QByteArray hex = "#";
        for (int c : {r, g, b})
            hex += QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        switch (format) {
        case PaletteFormat::Gimp:
            out += QByteArray::number(r).rightJustified(3, ' ') + ' ' + QByteArray::number(g).rightJustified(3, ' ') +
                   ' ' + QByteArray::number(b).rightJustified(3, ' ') + '\t';
            out += hex + '\n';
            break;
        case PaletteFormat::Css: out += "  --tinctara-" + QByteArray::number(k) + ": " + hex + ";\n"; break;
        case PaletteFormat::Hex: out += hex + '\n'; break;
        }
    }
    if (format == PaletteFormat::Css)
        out += "}\n";
    return out;
}

PaletteRead ReadPalette(const QByteArray& bytes)
{
    PaletteRead read;
    std::string_view rest(bytes.constData(), size_t(bytes.size()));
    if (StartsWith(rest, "\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    bool gimp = false;
    for (int number = 1; !rest.empty(); ++number) {
        size_t stop = 0;
        while (stop < rest.size() && rest[stop] != '\n' && rest[stop] != '\r')
            ++stop;
        const std::string_view line = Trim(rest.substr(0, stop));
        rest.remove_prefix(std::min(rest.size(), stop + (rest.substr(stop, 2) == "\r\n" ? 2 : 1)));

        if (number == 1 && line == "GIMP Palette") {
            gimp = true;
            continue;
        }
        if (line.empty())
            continue;
        std::optional<int32_t> c;
        if (gimp) {
            if (line.front() == '#' || StartsWith(line, "Name:") || StartsWith(line, "Columns:"))
                continue;
            c = GimpColor(line);
        } else {
            if (IsRuleLine(line))
                continue;
            c = TextColor(line);
        }
        if (c) {
            read.colors.push_back(*c);
            continue;
        }
        if (++read.skipped == 1) {
            read.firstBadLine = number;
            read.firstBadText = QString::fromUtf8(line.data(), qsizetype(std::min<size_t>(line.size(), 80)));
        }
    }
    return read;
}

} // namespace swatches
