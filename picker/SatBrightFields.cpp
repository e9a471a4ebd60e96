// The fields of saturation and brightness modes: all hues across, and
// brightness (saturation mode) or saturation (brightness mode) down.
#include <array>
#include <memory>
#include <utility>

#include "color/NumberRules.h"
#include "picker/Frames.h"
#include "picker/HueFieldFill.h"
#include "picker/HueSegments.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"
#include "platform/CpuFeatures.h"
#include "platform/Dib.h"

namespace picker {

namespace {

enum class FieldKind { Saturation, Brightness };

uint8_t* Scratch()
{
    // Only the allocation is kept between calls; every byte is rewritten.
    thread_local std::unique_ptr<uint8_t[]> bits(new uint8_t[FieldBitsBytes]);
    return bits.get();
}

// Buffer row r holds t = 255 - r. Pixel bytes are blue, green, red, so the
// slot of channel c (0 red .. 2 blue) is at byte 2 - c.
//
// The reference arithmetic of a ramp byte, one rounded double operation at
// a time: v(1 - t/255), plus t in the brightness field, to the nearest even
// integer; a value outside a byte is not written and the byte keeps 0.
uint8_t RampByte(int v, int t, FieldKind kind)
{
    const double k = 1.0 - t / 255.0;
    double x = v * k;
    if (kind == FieldKind::Brightness)
        x = x + t;
    x = color::RoundHalfEven(x);
    return (x >= 0 && x <= 255) ? static_cast<uint8_t>(x) : 0;
}

// Every byte is a whole-number quotient by 255, which 16-bit lanes can hold
// as a running sum down the rows:
//   saturation field: full r, low 0, ramp v r/255: round(f r / 255) for f =
//     255, 0, v, from the sum y = 128 + f r;
//   brightness field: full 255, low t, ramp t + v r/255: 255 minus such a
//     quotient for f = 0, 255, 255 - v, that is round((65025 - f r) / 255),
//     from y = 65153 - f r (the step wraps around 2^16).
// The byte is then (257 y) >> 16, the nearest integer to (y - 128) / 255 for
// every y - 128 in 0..65407. The exact quotient is never a half, as 255 is
// odd, and lies at least 1/510 from one, so the double arithmetic, whose
// error is far smaller, always rounds to the same integer. A ramp value
// outside 0..255 (v = -3 at two columns) fits no f: those bytes take the
// reference arithmetic.
struct Sums {
    alignas(32) std::array<uint16_t, FieldRowBytes> start;
    alignas(32) std::array<uint16_t, FieldRowBytes> step;
};

#ifdef TINCTARA_X86
// Byte columns from..to-1 in blocks of a cache line, so that each row's
// line is written whole in one go; the block's sums stay in registers down
// all rows. Every quotient is at most 255, so the saturating pack just
// takes the low bytes.
constexpr size_t BlockBytes = 64;
static_assert(FieldRowBytes % BlockBytes == 0);

void RunSumsSse2(uint8_t* bits, const Sums& sums, size_t from, size_t to)
{
    const __m128i scale = _mm_set1_epi16(257);
    for (size_t col = from; col < to; col += BlockBytes) {
        const auto* start = reinterpret_cast<const __m128i*>(sums.start.data() + col);
        const auto* step = reinterpret_cast<const __m128i*>(sums.step.data() + col);
        __m128i y[8];
        for (int k = 0; k < 8; ++k)
            y[k] = _mm_load_si128(start + k);
        uint8_t* out = bits + col;
        for (int r = 0; r < FieldSide; ++r, out += FieldRowBytes) {
            for (int k = 0; k < 4; ++k) {
                const __m128i bytes =
                    _mm_packus_epi16(_mm_mulhi_epu16(y[2 * k], scale), _mm_mulhi_epu16(y[2 * k + 1], scale));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out) + k, bytes);
            }
            for (int k = 0; k < 8; ++k)
                y[k] = _mm_add_epi16(y[k], _mm_load_si128(step + k));
        }
    }
}

// The pack works within 128-bit halves, so for each 32 bytes one register
// holds sums 0..7 and 16..23 and the other 8..15 and 24..31: the packed
// bytes then come out in order.
__attribute__((target("avx2"))) __m256i Interleaved(const uint16_t* p, int half)
{
    const auto* q = reinterpret_cast<const __m128i*>(p);
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_load_si128(q + half)), _mm_load_si128(q + 2 + half), 1);
}

__attribute__((target("avx2"))) void RunSumsAvx2(uint8_t* bits, const Sums& sums, size_t from, size_t to)
{
    const __m256i scale = _mm256_set1_epi16(257);
    for (size_t col = from; col < to; col += BlockBytes) {
        __m256i y[4], d[4];
        for (int k = 0; k < 4; ++k) {
            y[k] = Interleaved(sums.start.data() + col + 32 * (k / 2), k % 2);
            d[k] = Interleaved(sums.step.data() + col + 32 * (k / 2), k % 2);
        }
        uint8_t* out = bits + col;
        for (int r = 0; r < FieldSide; ++r, out += FieldRowBytes) {
            for (int k = 0; k < 2; ++k) {
                const __m256i bytes =
                    _mm256_packus_epi16(_mm256_mulhi_epu16(y[2 * k], scale), _mm256_mulhi_epu16(y[2 * k + 1], scale));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out) + k, bytes);
            }
            for (int k = 0; k < 4; ++k)
                y[k] = _mm256_add_epi16(y[k], d[k]);
        }
    }
}
#endif

void RunSums(uint8_t* bits, const Sums& sums)
{
#ifdef TINCTARA_X86
    // The last block always takes the SSE2 kernel: it fills whole fields
    // where AVX2 is missing, and this way every test run checks it too.
    size_t split = 0;
    if (platform::HasAvx2()) {
        split = FieldRowBytes - BlockBytes;
        RunSumsAvx2(bits, sums, 0, split);
    }
    RunSumsSse2(bits, sums, split, FieldRowBytes);
#else
    for (int r = 0; r < FieldSide; ++r) {
        uint8_t* row = bits + static_cast<size_t>(r) * FieldRowBytes;
        for (size_t j = 0; j < FieldRowBytes; ++j) {
            const auto y = static_cast<uint16_t>(sums.start[j] + r * sums.step[j]);
            row[j] = static_cast<uint8_t>((y * 257u) >> 16);
        }
    }
#endif
}

void Fill(uint8_t* bits, FieldKind kind)
{
    const bool saturation = kind == FieldKind::Saturation;
    Sums sums;
    std::array<int, FieldSide> oddColumns{};
    int oddCount = 0;
    for (int e = 0; e < FieldSide; ++e) {
        const HueColumn c = HueColumnAt(e);
        const bool inByte = c.v >= 0 && c.v <= 255;
        if (!inByte)
            oddColumns[oddCount++] = e;
        const int ramp = inByte ? c.v : 0;
        const std::pair<int, int> factors[] = {
            {c.fullSlot, saturation ? 255 : 0},
            {c.otherSlot, saturation ? 0 : 255},
            {c.rampSlot, saturation ? ramp : 255 - ramp},
        };
        for (const auto& [slot, f] : factors) {
            const size_t j = static_cast<size_t>(3 * e + 2 - slot);
            sums.start[j] = saturation ? 128 : 65153;
            sums.step[j] = static_cast<uint16_t>(saturation ? f : -f);
        }
    }
    RunSums(bits, sums);
    for (int n = 0; n < oddCount; ++n) {
        const int e = oddColumns[n];
        const HueColumn c = HueColumnAt(e);
        for (int r = 0; r < FieldSide; ++r)
            bits[static_cast<size_t>(r) * FieldRowBytes + 3 * e + 2 - c.rampSlot] = RampByte(c.v, 255 - r, kind);
    }
}

void DrawField(platform::Surface& s, PickerState& p, FieldKind kind)
{
    const color::PickerGeometry& g = p.Geometry;
    DrawPicker(s, p.FieldX, p.FieldY); // ring off
    s.DrawWidth = 1;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    if (kind == FieldKind::Brightness) {
        p.DibHeader.biHeight = FieldSide;
        p.DibHeader.biWidth = FieldSide;
    }
    uint8_t* bits = Scratch();
    Fill(bits, kind);
    // Mirrored left to right: buffer column e lands at FieldRight - e. A
    // refused blit leaves the field as it was.
    platform::StretchBlt(s, g.FieldRight, g.FieldTop, -FieldSide, FieldSide, {&p.DibHeader, bits, FieldBitsBytes},
                         0, 0, FieldSide, FieldSide);
    DrawSelFrame(s, g);
    DrawPicker(s, p.FieldX, p.FieldY); // ring on
}

} // namespace

void DrawSatField(platform::Surface& s, PickerState& p)
{
    DrawField(s, p, FieldKind::Saturation);
}

void DrawBrightField(platform::Surface& s, PickerState& p)
{
    DrawField(s, p, FieldKind::Brightness);
}

} // namespace picker
