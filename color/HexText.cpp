#include "color/HexText.h"

#include <utility>

namespace color {

namespace {

// Uppercase digits of the channel's 16-bit pattern, at least two of them.
// A negative channel shows its two's-complement pattern (four digits) rather
// than anything undefined; ordinary channels always give exactly two.
void AppendChannel(int16_t channel, std::string& out)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<uint16_t>(channel);
    char buf[4];
    int n = 0;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const unsigned digit = (bits >> shift) & 0xFu;
        if (n > 0 || digit != 0 || shift < 8)
            buf[n++] = kDigits[digit];
    }
    out.append(buf, static_cast<size_t>(n));
}

} // namespace

void GetHexVal(const int16_t& Red, const int16_t& Green, const int16_t& Blue, std::string& strHex)
{
    std::string text;
    text.reserve(6);
    AppendChannel(Red, text);
    AppendChannel(Green, text);
    AppendChannel(Blue, text);
    strHex = std::move(text);
}

} // namespace color
