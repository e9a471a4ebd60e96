#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/DibRows.h"

namespace platform::testing {
namespace {

constexpr RowCopy Methods[] = {RowCopy::Portable, RowCopy::Ssse3, RowCopy::Avx2};

std::string Name(RowCopy method)
{
    return method == RowCopy::Portable ? "portable" : method == RowCopy::Ssse3 ? "ssse3" : "avx2";
}

uint8_t SourceByte(size_t i)
{
    return static_cast<uint8_t>(i * 151 + 29);
}

// Guard words around the destination show any write outside it.
constexpr size_t Guard = 12;
constexpr uint32_t Untouched = 0x12345678u;

// The surface word of source pixel i, straight from the bytes.
uint32_t Expected(const std::vector<uint8_t>& src, size_t i)
{
    return 0xFF000000u | uint32_t{src[3 * i + 2]} << 16 | uint32_t{src[3 * i + 1]} << 8 | src[3 * i];
}

// Every length across the vector widths and their tails, each direction:
// every method gives the words the bytes spell, and writes nothing else.
// The source is allocated at exactly the row's size, so a read past it
// fails under the address sanitizer.
TEST(DibRows, EveryMethodConvertsRowsOfEveryLength)
{
    for (const RowCopy method : Methods) {
        if (!RowCopyAvailable(method)) {
            continue;
        }
        for (size_t count = 0; count <= 70; ++count) {
            std::vector<uint8_t> src(3 * count);
            for (size_t i = 0; i < src.size(); ++i) {
                src[i] = SourceByte(i + count);
            }
            for (const bool mirrored : {false, true}) {
                std::vector<uint32_t> dst(count + 2 * Guard, Untouched);
                RowBlock block;
                block.src = src.data();
                block.dst = dst.data() + Guard;
                block.count = count;
                block.rows = 1;
                block.mirrored = mirrored;
                CopyDibRows(method, block);
                for (size_t i = 0; i < count; ++i) {
                    const size_t at = Guard + (mirrored ? count - 1 - i : i);
                    ASSERT_EQ(dst[at], Expected(src, i)) << Name(method) << " count " << count << " pixel " << i
                                                         << (mirrored ? " mirrored" : "");
                }
                for (size_t g = 0; g < Guard; ++g) {
                    ASSERT_EQ(dst[g], Untouched) << Name(method) << " count " << count;
                    ASSERT_EQ(dst[Guard + count + g], Untouched) << Name(method) << " count " << count;
                }
            }
        }
    }
}

// Blocks as the blits cut them: rows bottom-up or top-down, a clipped part
// of each source row starting at any byte, destination rows up or down.
// Each method matches the portable one byte for byte.
TEST(DibRows, EveryMethodMatchesThePortableOneOnClippedBlocks)
{
    constexpr size_t Width = 37, Height = 9, Stride = (Width * 3 + 3) & ~size_t(3);
    constexpr ptrdiff_t Line = 50; // words per destination row
    std::vector<uint8_t> bitmap(Stride * Height);
    for (size_t i = 0; i < bitmap.size(); ++i) {
        bitmap[i] = SourceByte(i);
    }
    struct Cut {
        size_t first, count;
        bool bottomUp, flipped, mirrored;
    };
    const auto run = [&](RowCopy method, const Cut& c) {
        std::vector<uint32_t> dst(static_cast<size_t>(Line) * Height, Untouched);
        const auto stride = static_cast<ptrdiff_t>(Stride);
        RowBlock block;
        block.src = bitmap.data() + (c.bottomUp ? Stride * (Height - 1) : 0) + 3 * c.first;
        block.srcStep = c.bottomUp ? -stride : stride;
        block.dst = dst.data() + Guard + (c.flipped ? Line * static_cast<ptrdiff_t>(Height - 1) : 0);
        block.dstStep = c.flipped ? -Line : Line;
        block.count = c.count;
        block.rows = Height;
        block.mirrored = c.mirrored;
        CopyDibRows(method, block);
        return dst;
    };
    for (const RowCopy method : Methods) {
        if (!RowCopyAvailable(method)) {
            continue;
        }
        for (size_t first = 0; first < 12; ++first) {
            const size_t counts[] = {Width - first, Width - first - 9, 15, 11, 7, 1};
            for (const size_t count : counts) {
                for (int flags = 0; flags < 8; ++flags) {
                    const Cut cut{first, count, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
                    ASSERT_EQ(run(method, cut), run(RowCopy::Portable, cut))
                        << Name(method) << " first " << first << " count " << count << " bottomUp " << cut.bottomUp
                        << " flipped " << cut.flipped << " mirrored " << cut.mirrored;
                }
            }
        }
    }
}

TEST(DibRows, FastestIsAvailable)
{
    EXPECT_TRUE(RowCopyAvailable(FastestRowCopy()));
    EXPECT_TRUE(RowCopyAvailable(RowCopy::Portable));
}

} // namespace
} // namespace platform::testing
