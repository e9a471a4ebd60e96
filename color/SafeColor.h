#pragma once
#include <cstdint>
#include <string>

namespace color {

// Colour of safe-palette cell 1..216 (red slowest, blue fastest, steps of 51).
// Writes the channels and their hexadecimal text and returns the colour value.
// Outside 1..216 it returns 0 and leaves the outputs as they were.
int32_t GetSafeColor(const int16_t& cell, int16_t& red, int16_t& green, int16_t& blue, std::string& hex);

} // namespace color
