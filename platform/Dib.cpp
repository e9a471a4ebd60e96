#include "platform/Dib.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

struct Layout {
    long long width = 0;
    long long height = 0;
    bool bottomUp = true;
    size_t stride = 0;
};

// The bitmap's shape, or false when it is not an uncompressed 24-bit bitmap
// whose rows all fit in the buffer.
bool ReadLayout(const DibView& src, Layout& out)
{
    if (src.header == nullptr || src.bits == nullptr) {
        return false;
    }
    const BITMAPINFOHEADER& h = *src.header;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) {
        return false;
    }
    out.width = h.biWidth;
    out.height = std::abs(static_cast<long long>(h.biHeight));
    out.bottomUp = h.biHeight > 0;
    out.stride = DibStride(h.biWidth);
    // Neither factor exceeds 2^33, so the product fits.
    const unsigned long long needed = static_cast<unsigned long long>(out.stride) * out.height;
    return needed <= src.size;
}

// The part [first, last) of 0..count-1 for which both start + i lies in
// [0, srcLimit) and dst + dir * i lies in [0, dstLimit).
struct Range {
    long long first = 0;
    long long last = 0;
};
Range ClipRange(long long count, long long start, long long srcLimit, long long dst, int dir, long long dstLimit)
{
    Range r{std::max(0LL, -start), std::min(count, srcLimit - start)};
    if (dir > 0) {
        r.first = std::max(r.first, -dst);
        r.last = std::min(r.last, dstLimit - dst);
    } else {
        r.first = std::max(r.first, dst - dstLimit + 1);
        r.last = std::min(r.last, dst + 1);
    }
    return r;
}

// Copies cols x rows from (sx, sy) of the bitmap; source step i lands at
// x + dirX * i, source row j at y + dirY * j.
void Copy(Surface& dst, long long x, long long y, int dirX, int dirY, long long cols, long long rows,
          const DibView& src, const Layout& layout, long long sx, long long sy)
{
    const Range across = ClipRange(cols, sx, layout.width, x, dirX, dst.Width());
    const Range down = ClipRange(rows, sy, layout.height, y, dirY, dst.Height());
    if (across.first >= across.last) {
        return;
    }
    const long long count = across.last - across.first;
    for (long long j = down.first; j < down.last; ++j) {
        const long long sourceRow = sy + j;
        const long long bufferRow = layout.bottomUp ? layout.height - 1 - sourceRow : sourceRow;
        const uint8_t* s = src.bits + static_cast<size_t>(bufferRow) * layout.stride +
                           static_cast<size_t>(sx + across.first) * 3;
        uint32_t* line = dst.ScanLine(static_cast<int>(y + dirY * j));
        const long long firstX = x + dirX * across.first;
        if (dirX > 0) {
            uint32_t* d = line + firstX;
            for (long long i = 0; i < count; ++i, s += 3) {
                d[i] = 0xFF000000u | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
            }
        } else {
            for (long long i = 0; i < count; ++i, s += 3) {
                line[firstX - i] = 0xFF000000u | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
            }
        }
    }
}

} // namespace

bool BitBlt(Surface& dst, int x, int y, int w, int h, const DibView& src, int sx, int sy)
{
    Layout layout;
    if (!ReadLayout(src, layout) || w < 0 || h < 0) {
        return false;
    }
    Copy(dst, x, y, 1, 1, w, h, src, layout, sx, sy);
    return true;
}

bool StretchBlt(Surface& dst, int x, int y, int w, int h, const DibView& src, int sx, int sy, int sw, int sh)
{
    Layout layout;
    if (!ReadLayout(src, layout) || sw < 0 || sh < 0) {
        return false;
    }
    const long long width = w;
    const long long height = h;
    if (std::abs(width) != sw || std::abs(height) != sh) {
        return false;
    }
    Copy(dst, x, y, w < 0 ? -1 : 1, h < 0 ? -1 : 1, sw, sh, src, layout, sx, sy);
    return true;
}

} // namespace platform
