#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace color {

// The colour that stylesheet text names, as a colour value. Understood,
// in any case, with blanks around and one trailing ";" ignored:
//   #rgb  #rgba  #rrggbb  #rrggbbaa, and six hexadecimal digits without "#";
//   rgb() rgba() hsl() hsla() in the comma and in the space syntax;
//   hwb() lab() lch() oklab() oklch(); hsb() and hsv() as hsl() but with
//   brightness (what the copy formats write);
//   the 148 colour names.
// Alpha is read and ignored. Colours beyond sRGB are clamped channel by
// channel, except that lab(), lch(), oklab() and oklch() at no lightness
// are black and at full lightness white. Anything else, "transparent"
// included, names no colour.
std::optional<int32_t> ParseColorText(std::string_view text);

} // namespace color
