#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace color {

// The notations a colour is copied in, in the order a menu lists them.
enum class CopyFormat {
    HexUpper,  // #3366CC
    HexLower,  // #3366cc
    HexBare,   // 3366CC
    RgbSpace,  // rgb(51 102 204)
    RgbComma,  // rgb(51, 102, 204)
    Hsl,       // hsl(220 60% 50%)
    Hsb,       // hsb(220, 75%, 80%)
    Oklch,     // oklch(0.532 0.168 262.3)
};

inline constexpr std::array<CopyFormat, 8> CopyFormats = {
    CopyFormat::HexUpper, CopyFormat::HexLower, CopyFormat::HexBare, CopyFormat::RgbSpace,
    CopyFormat::RgbComma, CopyFormat::Hsl,      CopyFormat::Hsb,     CopyFormat::Oklch,
};

// The colour as text in the format. A value that is no colour (outside
// 0..0xFFFFFF) is written as black, as the window shows it.
std::string FormatColorText(int32_t colorValue, CopyFormat format);

// Whether ParseColorText gives back exactly the colour written.
bool IsLossless(CopyFormat format);

// A fixed word for each format, for remembering the choice; unknown words
// give nothing.
std::string_view CopyFormatKey(CopyFormat format);
std::optional<CopyFormat> CopyFormatFromKey(std::string_view key);

} // namespace color
