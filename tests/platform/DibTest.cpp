#include <vector>

#include "platform/Dib.h"
#include "tests/platform/SurfaceTesting.h"

namespace platform::testing {
namespace {

// Colour of bitmap pixel (column, row), rows counted from the top.
int32_t Source(int c, int r)
{
    return ((c * 41 + 7) & 0xFF) | (((r * 67 + 3) & 0xFF) << 8) | (((c * r + 150) & 0xFF) << 16);
}

struct Bitmap {
    BITMAPINFOHEADER header;
    std::vector<uint8_t> bits;
    DibView View() const { return {&header, bits.data(), bits.size()}; }
};

Bitmap MakeBitmap(int width, int height, bool bottomUp)
{
    Bitmap b;
    b.header.biSize = 40;
    b.header.biWidth = width;
    b.header.biHeight = bottomUp ? height : -height;
    b.header.biPlanes = 1;
    b.header.biBitCount = 24;
    b.header.biCompression = BI_RGB;
    const size_t stride = DibStride(width);
    b.bits.assign(stride * height, 0xEE); // padding bytes must never show
    for (int r = 0; r < height; ++r) {
        uint8_t* row = b.bits.data() + stride * (bottomUp ? height - 1 - r : r);
        for (int c = 0; c < width; ++c) {
            const int32_t v = Source(c, r);
            row[3 * c] = static_cast<uint8_t>(v >> 16);
            row[3 * c + 1] = static_cast<uint8_t>(v >> 8);
            row[3 * c + 2] = static_cast<uint8_t>(v);
        }
    }
    return b;
}

// Destination (x, y) shows source (c, r) with c = (x - x0) * dirX + sx.
struct Placement {
    int x0, y0, dirX, dirY, sx, sy, w, h;
};

::testing::AssertionResult Shows(const Surface& s, const Placement& p, int bitmapW, int bitmapH)
{
    return MatchesEverywhere(s, [&](int x, int y) {
        const int i = (x - p.x0) * p.dirX, j = (y - p.y0) * p.dirY;
        const int c = p.sx + i, r = p.sy + j;
        const bool copied = i >= 0 && i < p.w && j >= 0 && j < p.h && c >= 0 && c < bitmapW && r >= 0 && r < bitmapH;
        return copied ? Source(c, r) : Pattern(x, y);
    });
}

TEST(Blit, CopiesBottomUpAndTopDownRowsOneToOne)
{
    for (const bool bottomUp : {true, false}) {
        const Bitmap bmp = MakeBitmap(7, 5, bottomUp); // 21 bytes of pixels, rows padded to 24
        const Placement cases[] = {
            {3, 4, 1, 1, 0, 0, 7, 5},   // whole bitmap
            {10, 2, 1, 1, 2, 1, 4, 3},  // a block of it
            {-2, -1, 1, 1, 0, 0, 7, 5}, // past the top-left corner
            {17, 13, 1, 1, 0, 0, 7, 5}, // past the bottom-right corner
            {5, 5, 1, 1, 5, 3, 6, 6},   // past the bitmap's own edge
            {4, 4, 1, 1, 0, 0, 0, 3},   // nothing
        };
        for (const Placement& p : cases) {
            Surface s = PatternSurface(20, 15);
            s.DrawMode = DRAWMODE_INVERT; // the pen plays no part
            EXPECT_TRUE(BitBlt(s, p.x0, p.y0, p.w, p.h, bmp.View(), p.sx, p.sy));
            EXPECT_TRUE(Shows(s, p, 7, 5)) << bottomUp << " at " << p.x0 << "," << p.y0;
        }
    }
}

TEST(Blit, NegativeSizesMirror)
{
    for (const bool bottomUp : {true, false}) {
        const Bitmap bmp = MakeBitmap(7, 5, bottomUp);
        struct Case {
            int x, y, w, h;
        };
        for (const Case& c : {Case{10, 3, -7, 5}, {2, 8, 7, -5}, {12, 9, -7, -5}, {3, 2, -7, 5}, {18, 16, -7, -5}}) {
            Surface s = PatternSurface(20, 15);
            EXPECT_TRUE(StretchBlt(s, c.x, c.y, c.w, c.h, bmp.View(), 0, 0, 7, 5));
            const Placement p{c.x, c.y, c.w < 0 ? -1 : 1, c.h < 0 ? -1 : 1, 0, 0, 7, 5};
            EXPECT_TRUE(Shows(s, p, 7, 5)) << bottomUp << " " << c.x << "," << c.y << " " << c.w << "x" << c.h;
        }
    }
}

// The picker field: a 256 x 256 bottom-up bitmap mirrored onto columns
// 265 down to 10.
TEST(Blit, FieldSizedMirror)
{
    const Bitmap bmp = MakeBitmap(256, 256, true);
    Surface s = PatternSurface(434, 275);
    EXPECT_TRUE(StretchBlt(s, 265, 10, -256, 256, bmp.View(), 0, 0, 256, 256));
    EXPECT_TRUE(Shows(s, {265, 10, -1, 1, 0, 0, 256, 256}, 256, 256));
}

TEST(Blit, RefusesBadBitmapsAndScaling)
{
    const Bitmap good = MakeBitmap(7, 5, true);
    auto with = [&](auto change) {
        Bitmap b = good;
        change(b);
        return b;
    };
    const Bitmap bad[] = {
        with([](Bitmap& b) { b.header.biBitCount = 32; }),
        with([](Bitmap& b) { b.header.biCompression = 1; }),
        with([](Bitmap& b) { b.header.biWidth = 0; }),
        with([](Bitmap& b) { b.header.biWidth = -7; }),
        with([](Bitmap& b) { b.header.biHeight = 0; }),
        with([](Bitmap& b) { b.bits.pop_back(); }),
        with([](Bitmap& b) { b.header.biHeight = 6; }),
    };
    Surface s = PatternSurface(20, 15);
    const QImage before = s.Image();
    for (const Bitmap& b : bad) {
        EXPECT_FALSE(BitBlt(s, 0, 0, 7, 5, b.View(), 0, 0));
        EXPECT_FALSE(StretchBlt(s, 7, 0, -7, 5, b.View(), 0, 0, 7, 5));
    }
    EXPECT_FALSE(BitBlt(s, 0, 0, 7, 5, DibView{&good.header, nullptr, good.bits.size()}, 0, 0));
    EXPECT_FALSE(BitBlt(s, 0, 0, 7, 5, DibView{nullptr, good.bits.data(), good.bits.size()}, 0, 0));
    EXPECT_FALSE(BitBlt(s, 7, 0, -7, 5, good.View(), 0, 0));
    EXPECT_FALSE(StretchBlt(s, 0, 0, 6, 5, good.View(), 0, 0, 7, 5));
    EXPECT_FALSE(StretchBlt(s, 0, 0, -7, 4, good.View(), 0, 0, 7, 5));
    EXPECT_FALSE(StretchBlt(s, 7, 5, 7, 5, good.View(), 0, 0, -7, 5));
    EXPECT_TRUE(s.Image() == before);
}

} // namespace
} // namespace platform::testing
