#include "picker/HueFieldFill.h"

#include "picker/HueField.h"

#include "platform/CpuFeatures.h"

// Each byte is nearest((255 - k) * (65025 - i * (255 - C)) / 65025), which is
// what the double arithmetic of HueFieldChannel always yields. With a = 255 - k
// (the buffer row, as the rows are bottom-up) and g = (65025 - i * (255 - C))
// / 65025 held in 8.24 fixed point, rounded, the byte is the top byte of
// 2^23 + a * g. That is exact: the fixed-point error is at most
// 255 * 2^-25 < 7.60e-6, while the exact value never comes closer than
// 1 / 130050 > 7.68e-6 to a half (65025 is odd). So rows are running sums of
// the 768 per-byte factors, computed afresh on each call.

namespace picker {
namespace {

constexpr uint32_t Half = 1u << 23;

struct Factors {
    alignas(32) uint32_t g[FieldRowBytes];
};

Factors MakeFactors(int red, int green, int blue)
{
    Factors f;
    const int channels[3] = {blue, green, red}; // byte order of a pixel
    for (int i = 0; i < FieldSide; ++i) {
        for (int c = 0; c < 3; ++c) {
            const uint64_t b = 65025 - static_cast<uint64_t>(i) * static_cast<uint64_t>(255 - channels[c]);
            f.g[3 * i + c] = static_cast<uint32_t>(((b << 24) + 65025 / 2) / 65025);
        }
    }
    return f;
}

void FillPortable(uint8_t* bits, const Factors& f)
{
    for (uint32_t a = 0; a < FieldSide; ++a) {
        uint8_t* row = bits + a * FieldRowBytes;
        for (size_t j = 0; j < FieldRowBytes; ++j) {
            row[j] = static_cast<uint8_t>((a * f.g[j] + Half) >> 24);
        }
    }
}

#ifdef TINCTARA_X86
// Column blocks of 16 bytes: the four sums stay in registers down all rows.
void FillSse2(uint8_t* bits, const Factors& f)
{
    for (size_t col = 0; col < FieldRowBytes; col += 16) {
        const auto* gp = reinterpret_cast<const __m128i*>(f.g + col);
        const __m128i g0 = _mm_load_si128(gp), g1 = _mm_load_si128(gp + 1);
        const __m128i g2 = _mm_load_si128(gp + 2), g3 = _mm_load_si128(gp + 3);
        __m128i s0 = _mm_set1_epi32(Half), s1 = s0, s2 = s0, s3 = s0;
        uint8_t* out = bits + col;
        for (int a = 0; a < FieldSide; ++a, out += FieldRowBytes) {
            const __m128i lo = _mm_packs_epi32(_mm_srli_epi32(s0, 24), _mm_srli_epi32(s1, 24));
            const __m128i hi = _mm_packs_epi32(_mm_srli_epi32(s2, 24), _mm_srli_epi32(s3, 24));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(lo, hi));
            s0 = _mm_add_epi32(s0, g0);
            s1 = _mm_add_epi32(s1, g1);
            s2 = _mm_add_epi32(s2, g2);
            s3 = _mm_add_epi32(s3, g3);
        }
    }
}

// The same with 32-byte blocks; the packs work per 128-bit half, so the
// dwords are put back in order at the end.
__attribute__((target("avx2"))) void FillAvx2(uint8_t* bits, const Factors& f)
{
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    for (size_t col = 0; col < FieldRowBytes; col += 32) {
        const auto* gp = reinterpret_cast<const __m256i*>(f.g + col);
        const __m256i g0 = _mm256_load_si256(gp), g1 = _mm256_load_si256(gp + 1);
        const __m256i g2 = _mm256_load_si256(gp + 2), g3 = _mm256_load_si256(gp + 3);
        __m256i s0 = _mm256_set1_epi32(Half), s1 = s0, s2 = s0, s3 = s0;
        uint8_t* out = bits + col;
        for (int a = 0; a < FieldSide; ++a, out += FieldRowBytes) {
            const __m256i lo = _mm256_packus_epi32(_mm256_srli_epi32(s0, 24), _mm256_srli_epi32(s1, 24));
            const __m256i hi = _mm256_packus_epi32(_mm256_srli_epi32(s2, 24), _mm256_srli_epi32(s3, 24));
            const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(lo, hi), order);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
            s0 = _mm256_add_epi32(s0, g0);
            s1 = _mm256_add_epi32(s1, g1);
            s2 = _mm256_add_epi32(s2, g2);
            s3 = _mm256_add_epi32(s3, g3);
        }
    }
}
#endif

bool InByteRange(int v)
{
    return v >= 0 && v <= 255;
}

} // namespace

bool FieldFillAvailable(FieldFill method)
{
    switch (method) {
    case FieldFill::Portable:
        return true;
#ifdef TINCTARA_X86
    case FieldFill::Sse2:
        return true;
    case FieldFill::Avx2:
        return platform::HasAvx2();
#endif
    default:
        return false;
    }
}

void FillHueFieldWith(FieldFill method, uint8_t* bits, int red, int green, int blue)
{
    const Factors f = MakeFactors(red, green, blue);
    switch (method) {
#ifdef TINCTARA_X86
    case FieldFill::Sse2:
        FillSse2(bits, f);
        return;
    case FieldFill::Avx2:
        if (platform::HasAvx2()) {
            FillAvx2(bits, f);
            return;
        }
        break;
#endif
    default:
        break;
    }
    FillPortable(bits, f);
}

void FillHueField(uint8_t* bits, int16_t red, int16_t green, int16_t blue)
{
    if (InByteRange(red) && InByteRange(green) && InByteRange(blue)) {
#ifdef TINCTARA_X86
        FillHueFieldWith(platform::HasAvx2() ? FieldFill::Avx2 : FieldFill::Sse2, bits, red, green, blue);
#else
        FillHueFieldWith(FieldFill::Portable, bits, red, green, blue);
#endif
        return;
    }
    // No caller passes such a channel; the reference arithmetic leaves the
    // bytes it cannot convert at zero.
    const int channels[3] = {blue, green, red};
    for (int a = 0; a < FieldSide; ++a) {
        uint8_t* row = bits + static_cast<size_t>(a) * FieldRowBytes;
        for (int i = 0; i < FieldSide; ++i) {
            for (int c = 0; c < 3; ++c) {
                row[3 * i + c] = HueFieldChannel(channels[c], i, 255 - a);
            }
        }
    }
}

} // namespace picker
