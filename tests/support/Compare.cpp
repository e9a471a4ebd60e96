#include "tests/support/Compare.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace expected {

namespace {

constexpr int Listed = 5;

std::string Hex(int32_t value)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    return buf;
}

// `got` is read row by row: row(y) gives a function of x.
template <class Row>
::testing::AssertionResult Compare(int width, int height, Row row, const Picture& want, const Box& region)
{
    const int right = std::min({region.right, width, want.Width()});
    const int bottom = std::min({region.bottom, height, want.Height()});
    long bad = 0;
    Box around{right, bottom, -1, -1};
    std::string first;
    for (int y = std::max(region.top, 0); y < bottom; ++y) {
        const auto got = row(y);
        for (int x = std::max(region.left, 0); x < right; ++x) {
            const int32_t g = got(x);
            if (g == want.At(x, y))
                continue;
            if (bad++ < Listed)
                first += " (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + Hex(g) + " not " +
                         Hex(want.At(x, y)) + ";";
            around = {std::min(around.left, x), std::min(around.top, y), std::max(around.right, x),
                      std::max(around.bottom, y)};
        }
    }
    if (bad == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ within x " << around.left << ".." << around.right
                                         << ", y " << around.top << ".." << around.bottom << ":" << first;
}

::testing::AssertionResult SizeDiffers(int width, int height, const Picture& want)
{
    return ::testing::AssertionFailure() << "the picture is " << width << " x " << height << ", expected "
                                         << want.Width() << " x " << want.Height();
}

} // namespace

::testing::AssertionResult SameRegion(const Picture& got, const Picture& want, const Box& region)
{
    const auto row = [&](int y) { return [&got, y](int x) { return got.At(x, y); }; };
    return Compare(got.Width(), got.Height(), row, want, region);
}

::testing::AssertionResult SameRegion(const QImage& got, const Picture& want, const Box& region)
{
    const QImage image = got.convertToFormat(QImage::Format_RGB32); // no copy when it is already
    const auto row = [&](int y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        return [line](int x) { return ValueOf(line[x]); };
    };
    return Compare(image.width(), image.height(), row, want, region);
}

::testing::AssertionResult SameImage(const Picture& got, const Picture& want)
{
    if (got.Width() != want.Width() || got.Height() != want.Height())
        return SizeDiffers(got.Width(), got.Height(), want);
    return SameRegion(got, want, {0, 0, want.Width(), want.Height()});
}

::testing::AssertionResult SameImage(const QImage& got, const Picture& want)
{
    if (got.width() != want.Width() || got.height() != want.Height())
        return SizeDiffers(got.width(), got.height(), want);
    return SameRegion(got, want, {0, 0, want.Width(), want.Height()});
}

} // namespace expected
