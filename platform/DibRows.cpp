#include "platform/DibRows.h"

#include <algorithm>
#include <initializer_list>

#include "platform/CpuFeatures.h"

namespace platform {
namespace {

uint32_t Word(const uint8_t* p)
{
    return 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

template <bool Mirrored>
void PortableRow(const uint8_t* src, size_t count, uint32_t* dst)
{
    for (size_t i = 0; i < count; ++i, src += 3) {
        dst[Mirrored ? count - 1 - i : i] = Word(src);
    }
}

#ifdef TINCTARA_X86
// Byte shuffles that spread four pixels of a 16-byte load over four words,
// in display order (reversed when mirrored), leaving the alpha byte zero.
// Skip is how many bytes before the first pixel the load started.
template <bool Mirrored, char Skip>
__attribute__((target("ssse3"))) __m128i Spread()
{
    constexpr char a = (Mirrored ? 9 : 0) + Skip, b = (Mirrored ? 6 : 3) + Skip;
    constexpr char c = (Mirrored ? 3 : 6) + Skip, d = (Mirrored ? 0 : 9) + Skip;
    return _mm_setr_epi8(a, a + 1, a + 2, -1, b, b + 1, b + 2, -1, c, c + 1, c + 2, -1, d, d + 1, d + 2, -1);
}

template <bool Mirrored>
__attribute__((target("ssse3"))) void Put4(const uint8_t* s, __m128i spread, uint32_t* at)
{
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i words = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), spread);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_or_si128(words, alpha));
}

// Four pixels a step. A 16-byte load takes four bytes past its pixels, so
// the loop stops while those still belong to the row; the blocks after it
// are loaded four bytes early instead, the last one ending exactly at the
// row's end and rewriting a few words with the values they already have.
// Reads never leave the row's pixels.
template <bool Mirrored>
__attribute__((target("ssse3"))) void Ssse3Row(const uint8_t* src, size_t count, uint32_t* dst)
{
    if (count < 6) {
        PortableRow<Mirrored>(src, count, dst);
        return;
    }
    const auto at = [&](size_t i) { return dst + (Mirrored ? count - 4 - i : i); };
    size_t i = 0;
    for (; i + 6 <= count; i += 4) {
        Put4<Mirrored>(src + 3 * i, Spread<Mirrored, 0>(), at(i));
    }
    // At most five pixels are left, and the loop ran at least once, so an
    // early load never starts before the row.
    while (i < count) {
        i = std::min(i, count - 4);
        Put4<Mirrored>(src + 3 * i - 4, Spread<Mirrored, 4>(), at(i));
        i += 4;
    }
}

// Two 128-bit halves of a register from two loads: the shuffle works
// within each half.
__attribute__((target("avx2"))) __m256i Join(__m128i low, __m128i high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

// Two loads 12 bytes apart, one per half; mirrored, the later four pixels
// go to the lower half.
template <bool Mirrored>
__attribute__((target("avx2"))) void Put8(const uint8_t* s, __m256i spread, uint32_t* at)
{
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12));
    const __m256i bytes = Mirrored ? Join(second, first) : Join(first, second);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), _mm256_or_si256(_mm256_shuffle_epi8(bytes, spread), alpha));
}

// Eight pixels a step, four per half, by the same rules: the second load of
// a block ends 28 bytes after the block's start. Two steps a turn, so the
// loop's own bookkeeping costs less than the copy.
template <bool Mirrored>
__attribute__((target("avx2"))) void Avx2Row(const uint8_t* src, size_t count, uint32_t* dst)
{
    if (count < 10) {
        Ssse3Row<Mirrored>(src, count, dst);
        return;
    }
    const auto at = [&](size_t i) { return dst + (Mirrored ? count - 8 - i : i); };
    const __m128i spread = Spread<Mirrored, 0>(), early = Spread<Mirrored, 4>();
    const __m256i spread2 = Join(spread, spread), early2 = Join(early, early);
    size_t i = 0;
    for (; i + 18 <= count; i += 16) {
        Put8<Mirrored>(src + 3 * i, spread2, at(i));
        Put8<Mirrored>(src + 3 * i + 24, spread2, at(i + 8));
    }
    if (i + 10 <= count) {
        Put8<Mirrored>(src + 3 * i, spread2, at(i));
        i += 8;
    }
    // At most nine pixels are left, after at least one block.
    while (i < count) {
        i = std::min(i, count - 8);
        Put8<Mirrored>(src + 3 * i - 4, early2, at(i));
        i += 8;
    }
}
#endif

// Each method's loop over the rows, built for that method's instruction set
// so the row routine is inlined into it.
template <bool Mirrored>
void PortableRows(const RowBlock& b)
{
    for (size_t k = 0; k < b.rows; ++k) {
        const auto at = static_cast<ptrdiff_t>(k);
        PortableRow<Mirrored>(b.src + at * b.srcStep, b.count, b.dst + at * b.dstStep);
    }
}

#ifdef TINCTARA_X86
template <bool Mirrored>
__attribute__((target("ssse3"))) void Ssse3Rows(const RowBlock& b)
{
    for (size_t k = 0; k < b.rows; ++k) {
        const auto at = static_cast<ptrdiff_t>(k);
        Ssse3Row<Mirrored>(b.src + at * b.srcStep, b.count, b.dst + at * b.dstStep);
    }
}

template <bool Mirrored>
__attribute__((target("avx2"))) void Avx2Rows(const RowBlock& b)
{
    for (size_t k = 0; k < b.rows; ++k) {
        const auto at = static_cast<ptrdiff_t>(k);
        Avx2Row<Mirrored>(b.src + at * b.srcStep, b.count, b.dst + at * b.dstStep);
    }
}
#endif

template <bool Mirrored>
void Rows(RowCopy method, const RowBlock& b)
{
    switch (method) {
#ifdef TINCTARA_X86
    case RowCopy::Avx2:
        if (HasAvx2()) {
            Avx2Rows<Mirrored>(b);
            return;
        }
        break;
    case RowCopy::Ssse3:
        if (HasSsse3()) {
            Ssse3Rows<Mirrored>(b);
            return;
        }
        break;
#endif
    default:
        break;
    }
    PortableRows<Mirrored>(b);
}

} // namespace

bool RowCopyAvailable(RowCopy method)
{
    switch (method) {
    case RowCopy::Portable:
        return true;
#ifdef TINCTARA_X86
    case RowCopy::Ssse3:
        return HasSsse3();
    case RowCopy::Avx2:
        return HasAvx2();
#endif
    default:
        return false;
    }
}

RowCopy FastestRowCopy()
{
    for (const RowCopy method : {RowCopy::Avx2, RowCopy::Ssse3}) {
        if (RowCopyAvailable(method)) {
            return method;
        }
    }
    return RowCopy::Portable;
}

void CopyDibRows(RowCopy method, const RowBlock& block)
{
    if (block.mirrored) {
        Rows<true>(method, block);
    } else {
        Rows<false>(method, block);
    }
}

} // namespace platform
