#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The rules of aiming a pick from the screen, free of any window: where a
// nudge lands, which colour a sample square gives, how large the magnifier
// draws a pixel and where it stands beside the pointer.
namespace app::pick {

// `at` moved by `step` device pixels, kept inside `area`.
QPoint Nudge(QPoint at, QPoint step, const QRect& area);

// What one pick takes: the pixel, or the mean of the square around it.
enum class Sample { Pixel = 1, Square3 = 3, Square5 = 5 };
Sample NextSample(Sample sample);
constexpr int SampleSide(Sample sample) { return static_cast<int>(sample); }
// How the magnifier names it.
QString SampleName(Sample sample);

// The square of `side` pixels centred on `centre`, as a rectangle.
QRect SampleSquare(QPoint centre, int side);
// The colour value (0x00BBGGRR) of that square in `pixels`, whose top-left
// pixel is the device pixel `origin`: each channel the mean of the square's
// pixels that lie in the image and are read (opaque), rounded to the nearest
// whole number, ties to even. None where no pixel of the square is read.
std::optional<int32_t> SampleColor(const QImage& pixels, QPoint origin, QPoint centre, int side);

// The sizes, in logical pixels, the magnifier draws one device pixel at.
constexpr std::array<int, 3> BlockSizes = {8, 10, 12};
// The step `step` moved by `delta`, kept among the sizes.
int ZoomStep(int step, int delta);
// The grid's side in logical pixels at most: 81 to 169 device pixels read
// per move.
constexpr int GridSpan = 112;
// How many device pixels a row of the magnifier's grid shows at this block
// size: an odd number, so one of them is the centre.
int GridCells(int block);
// Blocks this large show a grid between them.
constexpr int GridLinesFrom = 10;

// How far the magnifier keeps from the pointer, in logical pixels: beyond
// what the largest grid reads around it.
constexpr int PointerGap = 24;
// Where a window of `size` stands for a pointer at `pointer` on a screen
// `screen` (logical pixels): below and right of it, or on the other side
// where that does not fit, always whole on the screen and never within
// PointerGap of the pointer while the screen leaves room.
QPoint PlaceMagnifier(QPoint pointer, QSize size, const QRect& screen);
// How far the magnifier may lag behind its place on each axis: it stays
// PointerGap - LensSlack clear of the pointer, more than the grid reads.
constexpr int LensSlack = 12;

} // namespace app::pick
