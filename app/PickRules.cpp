#include "app/PickRules.h"

#include <algorithm>

#include "color/ColorValue.h"

namespace app::pick {

QPoint Nudge(QPoint at, QPoint step, const QRect& area)
{
    if (area.isEmpty())
        return at;
    return {std::clamp(at.x() + step.x(), area.left(), area.right()),
            std::clamp(at.y() + step.y(), area.top(), area.bottom())};
}

Sample NextSample(Sample sample)
{
    switch (sample) {
    case Sample::Pixel:
        return Sample::Square3;
    case Sample::Square3:
        return Sample::Square5;
    case Sample::Square5:
        break;
    }
    return Sample::Pixel;
}

QString SampleName(Sample sample)
{
    switch (sample) {
    case Sample::Square3:
        return QStringLiteral("3 \u00d7 3 average");
    case Sample::Square5:
        return QStringLiteral("5 \u00d7 5 average");
    case Sample::Pixel:
        break;
    }
    return QStringLiteral("1 pixel");
}

QRect SampleSquare(QPoint centre, int side)
{
    const int half = side / 2;
    return {centre.x() - half, centre.y() - half, side, side};
}

namespace {

// Nearest whole number to sum / count, ties to the even one.
int RoundedMean(int64_t sum, int64_t count)
{
    const int64_t q = sum / count, r = sum % count;
    if (2 * r > count || (2 * r == count && q % 2 != 0))
        return static_cast<int>(q + 1);
    return static_cast<int>(q);
}

} // namespace

std::optional<int32_t> SampleColor(const QImage& pixels, QPoint origin, QPoint centre, int side)
{
    const QRect square = SampleSquare(centre, side).translated(-origin).intersected(pixels.rect());
    int64_t red = 0, green = 0, blue = 0, count = 0;
    for (int y = square.top(); y <= square.bottom(); ++y) {
        for (int x = square.left(); x <= square.right(); ++x) {
            const QRgb p = pixels.pixel(x, y);
            if (qAlpha(p) != 255)
                continue;
            red += qRed(p);
            green += qGreen(p);
            blue += qBlue(p);
            ++count;
        }
    }
    if (count == 0)
        return std::nullopt;
    return color::RGB(RoundedMean(red, count), RoundedMean(green, count), RoundedMean(blue, count));
}

int ZoomStep(int step, int delta)
{
    return std::clamp(step + delta, 0, static_cast<int>(BlockSizes.size()) - 1);
}

int GridCells(int block)
{
    const int cells = GridSpan / std::max(1, block);
    return std::max(1, cells % 2 == 0 ? cells - 1 : cells);
}

namespace {

// One axis: after the pointer when it fits, else before it, then kept on
// the screen.
int PlaceAxis(int pointer, int size, int low, int high)
{
    int at = pointer + PointerGap;
    if (at + size > high)
        at = pointer - PointerGap - size;
    return std::clamp(at, low, std::max(low, high - size));
}

} // namespace

QPoint PlaceMagnifier(QPoint pointer, QSize size, const QRect& screen)
{
    const int right = screen.left() + screen.width(), bottom = screen.top() + screen.height();
    // One side of the pointer fits on any screen more than twice as wide
    // and high as the window with its gap.
    return {PlaceAxis(pointer.x(), size.width(), screen.left(), right),
            PlaceAxis(pointer.y(), size.height(), screen.top(), bottom)};
}

} // namespace app::pick
