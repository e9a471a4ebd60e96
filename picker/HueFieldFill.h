#pragma once
#include <cstddef>
#include <cstdint>

namespace picker {

// The field's bitmap: 256 x 256 pixels of 3 bytes (blue, green, red), rows
// bottom-up; 768 bytes is already a whole number of 4-byte words.
constexpr int FieldSide = 256;
constexpr size_t FieldRowBytes = 3 * FieldSide;
constexpr size_t FieldBitsBytes = FieldRowBytes * FieldSide;

// Writes all FieldBitsBytes bytes at bits for the pure-hue colour, each one
// equal to the HueFieldChannel of its channel, column and row.
void FillHueField(uint8_t* bits, int16_t red, int16_t green, int16_t blue);

// The interchangeable ways of filling for channels in 0..255; FillHueField
// takes the fastest the processor has. Exposed so each can be held to the
// reference arithmetic.
enum class FieldFill { Portable, Sse2, Avx2 };
bool FieldFillAvailable(FieldFill method);
void FillHueFieldWith(FieldFill method, uint8_t* bits, int red, int green, int blue);

} // namespace picker
