#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace color {

struct NamedColor {
    std::string_view name;  // lowercase
    int32_t colorValue;
};

// The 148 colour names of stylesheets, sorted by name ("transparent" is not
// among them: it names no colour a picker can show).
std::span<const NamedColor> NamedColors();

// The colour of a name, ASCII letters in any case.
std::optional<int32_t> FindNamedColor(std::string_view name);

} // namespace color
