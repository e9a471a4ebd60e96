#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/GdiTypes.h"
#include "platform/Surface.h"

namespace platform {

// A 24-bit device-independent bitmap in memory: header plus pixel bytes
// (blue, green, red; rows padded to a multiple of 4 bytes; bottom-up when
// biHeight is positive).
struct DibView {
    const BITMAPINFOHEADER* header = nullptr;
    const uint8_t* bits = nullptr;
    size_t size = 0; // bytes available at bits
};

// Bytes in one row of a 24-bit bitmap of the given width.
constexpr size_t DibStride(int32_t width)
{
    return (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
}

// Copies a w x h block from (sx, sy) of the bitmap (top-down image
// coordinates) to (x, y) of the surface. False, with nothing drawn, when
// the header is not an uncompressed 24-bit one with a positive width and a
// non-zero height, the buffer is too small for all its rows, or w or h is
// negative. Only pixels inside both the bitmap and the surface are copied;
// the pen state plays no part.
bool BitBlt(Surface& dst, int x, int y, int w, int h, const DibView& src, int sx, int sy);

// The 1:1 stretch: |w| == sw and |h| == sh. A negative width mirrors left to
// right (source column 0 lands at x, the next at x - 1, ...); a negative
// height mirrors top to bottom the same way. Other sizes, negative sw or sh,
// and the bitmaps BitBlt refuses are refused: false, nothing drawn.
bool StretchBlt(Surface& dst, int x, int y, int w, int h, const DibView& src, int sx, int sy, int sw,
                int sh);

} // namespace platform
