#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// The interchangeable ways of turning one row of 24-bit pixels (blue, green,
// red bytes) into the surface's 0xFFRRGGBB words. The blits take the
// fastest the processor has; all are exposed so each can be held to the
// portable one.
enum class RowCopy { Portable, Ssse3, Avx2 };
bool RowCopyAvailable(RowCopy method);
RowCopy FastestRowCopy();

// A block of rows of `count` pixels: row k is read from src + k * srcStep
// bytes and written to dst + k * dstStep words (a step may be negative).
// Pixel i of a row goes to word i, or to word count - 1 - i when
// `mirrored`. Only the 3 * count bytes of each row's pixels are read and
// only its count words are written.
struct RowBlock {
    const uint8_t* src = nullptr;
    ptrdiff_t srcStep = 0;
    uint32_t* dst = nullptr;
    ptrdiff_t dstStep = 0;
    size_t count = 0;
    size_t rows = 0;
    bool mirrored = false;
};

// Converts the block by the given method; one the processor lacks falls
// back to the portable one.
void CopyDibRows(RowCopy method, const RowBlock& block);

} // namespace platform
