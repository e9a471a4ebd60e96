#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "color/ColorValue.h"
#include "picker/Frames.h"
#include "picker/HueField.h"
#include "picker/HueFieldFill.h"
#include "picker/HueStrip.h"
#include "picker/Markers.h"
#include "picker/SatBright.h"
#include "platform/Dib.h"

// Each renderer beside a plain copy of a buffer of its bitmap's size, the
// least any renderer of that bitmap could cost.

namespace {

platform::SystemColors Colors()
{
    platform::SystemColors c;
    c.Face = 0xC8D0D4;
    c.DarkShadow = 0x404040;
    c.Light = 0xE0E0E0;
    return c;
}

picker::PickerState StartState()
{
    picker::PickerState p;
    p.Geometry = color::MakePickerGeometry();
    picker::InitDibHeader(p.DibHeader);
    p.FieldX = p.Geometry.FieldRight;
    p.FieldY = p.Geometry.FieldTop;
    p.StripY = static_cast<float>(p.Geometry.StripBottom);
    return p;
}

void CopyOf(benchmark::State& state, size_t bytes)
{
    std::vector<uint8_t> from(bytes, 0x5A), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        ++from[bytes / 2];
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_CopyFieldSizedBuffer(benchmark::State& state)
{
    CopyOf(state, picker::FieldBitsBytes);
}
BENCHMARK(BM_CopyFieldSizedBuffer);

// A colour of its own for each of 256 rows.
int32_t VaryingColor(int row)
{
    return color::RGB(row, 255 - row, (row * 7) & 0xFF);
}

// A different strip colour every call, so nothing can be carried over.
void BM_DrawHueField(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    picker::PickerState p = StartState();
    picker::DrawPicker(s, p.FieldX, p.FieldY);
    int row = 0;
    for (auto _ : state) {
        const int32_t c = VaryingColor(row);
        row = (row + 1) & 0xFF;
        const int16_t red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
        picker::DrawHueField(s, p, red, green, blue);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * picker::FieldBitsBytes));
}
BENCHMARK(BM_DrawHueField);

// The two halves of the field's cost: filling the bitmap and blitting it.
void BM_FillHueField(benchmark::State& state)
{
    std::vector<uint8_t> bits(picker::FieldBitsBytes);
    int C = 0;
    for (auto _ : state) {
        picker::FillHueField(bits.data(), 255, static_cast<int16_t>(C), 0);
        C = (C + 1) & 0xFF;
        benchmark::DoNotOptimize(bits.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillHueField);

void BM_BlitField(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    picker::PickerState p = StartState();
    p.DibHeader.biWidth = 256;
    p.DibHeader.biHeight = 256;
    std::vector<uint8_t> bits(picker::FieldBitsBytes);
    picker::FillHueField(bits.data(), 255, 0, 0);
    for (auto _ : state) {
        platform::BitBlt(s, 10, 10, 256, 256, {&p.DibHeader, bits.data(), bits.size()}, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitField);

// The saturation field's blit: the same bitmap mirrored left to right.
void BM_StretchBltMirroredField(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    picker::PickerState p = StartState();
    p.DibHeader.biWidth = 256;
    p.DibHeader.biHeight = 256;
    std::vector<uint8_t> bits(picker::FieldBitsBytes);
    picker::FillHueField(bits.data(), 255, 0, 0);
    const auto& g = p.Geometry;
    for (auto _ : state) {
        platform::StretchBlt(s, g.FieldRight, g.FieldTop, -256, 256, {&p.DibHeader, bits.data(), bits.size()}, 0, 0,
                             256, 256);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchBltMirroredField);

// The sunken edge around the field on its own, without the frame's refresh.
void BM_DrawEdgeFieldFrame(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    const platform::RECT rc = picker::FieldFrameRect(color::MakePickerGeometry());
    for (auto _ : state) {
        s.DrawEdge(rc, platform::BDR_SUNKENINNER, platform::BF_RECT);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawEdgeFieldFrame);

// The frame both renderers end with.
void BM_DrawSelFrame(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    const auto g = color::MakePickerGeometry();
    for (auto _ : state) {
        picker::DrawSelFrame(s, g);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawSelFrame);

// The fields of saturation and brightness modes: nothing in them depends
// on the colour, so each call redoes the same work in full.
template <void (*Draw)(platform::Surface&, picker::PickerState&)>
void DrawFieldBench(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    picker::PickerState p = StartState();
    p.DibHeader.biWidth = 256; // as the other field renderers leave it
    p.DibHeader.biHeight = 256;
    picker::DrawPicker(s, p.FieldX, p.FieldY);
    for (auto _ : state) {
        Draw(s, p);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * picker::FieldBitsBytes));
}

void BM_DrawSatField(benchmark::State& state)
{
    DrawFieldBench<picker::DrawSatField>(state);
}
BENCHMARK(BM_DrawSatField);

void BM_DrawBrightField(benchmark::State& state)
{
    DrawFieldBench<picker::DrawBrightField>(state);
}
BENCHMARK(BM_DrawBrightField);

void BM_CopyStripSizedBuffer(benchmark::State& state)
{
    CopyOf(state, picker::StripBitsBytes);
}
BENCHMARK(BM_CopyStripSizedBuffer);

void BM_DrawHueStrip(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    picker::PickerState p = StartState();
    for (auto _ : state) {
        picker::DrawHueStrip(s, p);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * picker::StripBitsBytes));
}
BENCHMARK(BM_DrawHueStrip);

// The strips of saturation and brightness modes, a new colour each call.
template <void (*Draw)(platform::Surface&, const color::PickerGeometry&, int16_t, int16_t, int16_t)>
void DrawRampStripBench(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    const auto g = color::MakePickerGeometry();
    int row = 0;
    for (auto _ : state) {
        const int32_t c = VaryingColor(row);
        row = (row + 1) & 0xFF;
        const int16_t red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
        Draw(s, g, red, green, blue);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * picker::StripBitsBytes));
}

void BM_DrawSatStrip(benchmark::State& state)
{
    DrawRampStripBench<picker::DrawSatStrip>(state);
}
BENCHMARK(BM_DrawSatStrip);

void BM_DrawBrightStrip(benchmark::State& state)
{
    DrawRampStripBench<picker::DrawBrightStrip>(state);
}
BENCHMARK(BM_DrawBrightStrip);

void BM_FillHueStrip(benchmark::State& state)
{
    std::vector<uint8_t> bits(picker::StripBitsBytes);
    for (auto _ : state) {
        picker::FillHueStrip(bits.data(), 255);
        benchmark::DoNotOptimize(bits.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillHueStrip);

void BM_DrawMainFrame(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    const auto g = color::MakePickerGeometry();
    for (auto _ : state) {
        picker::DrawMainFrame(s, g);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawMainFrame);

// One call per iteration: the ring (or the marks) alternately on and off.
void BM_DrawPickerToggle(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    for (auto _ : state) {
        picker::DrawPicker(s, 137, 138);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPickerToggle);

void BM_DrawStripMarksToggle(benchmark::State& state)
{
    platform::Surface s(434, 275, Colors(), QFont());
    const auto g = color::MakePickerGeometry();
    for (auto _ : state) {
        picker::DrawStripMarks(s, g, 138);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawStripMarksToggle);

} // namespace
