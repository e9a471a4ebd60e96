// Pasted text to a colour and every copy format back: whatever the bytes,
// the parse must be safe and give an ordinary colour or none; blanks, a
// trailing ";" and letter case must not change what it names; and every
// format's text must read back as the colour it was written from (exactly
// for the lossless ones).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "color/ColorValue.h"
#include "color/Contrast.h"
#include "color/CopyFormat.h"
#include "color/ParseColorText.h"

namespace {

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

std::string Cased(std::string_view text, bool upper)
{
    std::string out(text);
    for (char& c : out) {
        if (upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!upper && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

int Distance(int32_t a, int32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return worst;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> parsed = color::ParseColorText(text);
    if (parsed)
        Require(color::IsColor(*parsed), "a parsed colour is an ordinary colour");

    Require(color::ParseColorText(Cased(text, true)) == parsed, "upper case names the same colour");
    Require(color::ParseColorText(Cased(text, false)) == parsed, "lower case names the same colour");
    if (parsed && text.find(';') == std::string_view::npos)
        Require(color::ParseColorText(" \t" + std::string(text) + "\n;  ") == parsed,
                "blanks and a trailing semicolon change nothing");

    // The parsed colour, or one made of the first bytes, through every format.
    const auto byte = [&](size_t i) { return static_cast<int32_t>(i < size ? data[i] : 0); };
    const int32_t value = parsed.value_or(color::RGB(byte(0), byte(1), byte(2)));
    for (color::CopyFormat format : color::CopyFormats) {
        const std::string written = color::FormatColorText(value, format);
        const std::optional<int32_t> back = color::ParseColorText(written);
        Require(back.has_value(), "every format reads back");
        if (color::IsLossless(format))
            Require(*back == value, "a lossless format gives back the colour");
        else
            Require(Distance(*back, value) <= 10, "a rounded format stays near the colour");
    }

    const double ratio = color::ContrastRatio(value, color::RGB(byte(3), byte(4), byte(5)));
    Require(ratio >= 1.0 && ratio <= 21.0, "contrast ratio from 1 to 21");
    const std::string ratioText = color::ContrastRatioText(ratio);
    Require(ratioText.size() >= 3 && ratioText.ends_with(":1"), "contrast text ends in :1");
    return 0;
}
