#include "platform/Dib.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "platform/DibRows.h"

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
    if (across.first >= across.last || down.first >= down.last) {
        return;
    }
    const long long firstRow = sy + down.first;
    const long long firstBufferRow = layout.bottomUp ? layout.height - 1 - firstRow : firstRow;
    const auto stride = static_cast<ptrdiff_t>(layout.stride);
    // Mirrored, the row's last source pixel lands leftmost.
    const long long leftX = dirX > 0 ? x + across.first : x - (across.last - 1);
    // The surface's rows are found by their distance, so the image is made
    // writable once rather than once a row.
    const ptrdiff_t lineWords = dst.Image().bytesPerLine() / static_cast<ptrdiff_t>(sizeof(uint32_t));
    RowBlock block;
    block.src = src.bits + static_cast<size_t>(firstBufferRow) * layout.stride +
                static_cast<size_t>(sx + across.first) * 3;
    block.srcStep = layout.bottomUp ? -stride : stride;
    block.dst = dst.ScanLine(static_cast<int>(y + dirY * down.first)) + leftX;
    block.dstStep = dirY * lineWords;
    block.count = static_cast<size_t>(across.last - across.first);
    block.rows = static_cast<size_t>(down.last - down.first);
    block.mirrored = dirX < 0;
    CopyDibRows(FastestRowCopy(), block);
    const long long topY = dirY > 0 ? y + down.first : y - (down.last - 1);
    dst.MarkChanged(leftX, topY, across.last - across.first, down.last - down.first);
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
