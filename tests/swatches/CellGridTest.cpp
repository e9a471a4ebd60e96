#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "swatches/CellGrid.h"
#include "tests/support/Swatches.h"

using expected::CellBox;
using swatches::BuildSafeCells;
using swatches::HitCell;

namespace {

// The cell whose inside holds (x, y), borders excluded, found per axis:
// the column of the 18-pixel pitch, then strictly inside its 15 pixels.
int ExpectedHit(double x, double y)
{
    const auto axis = [](double v, int count) {
        const double u = v - 10;
        const double slot = std::floor(u / 18);
        if (slot < 0 || slot >= count)
            return -1;
        const double within = u - 18 * slot;
        return within > 0 && within < 15 ? int(slot) : -1;
    };
    const int column = axis(x, 16), row = axis(y, 14);
    return column < 0 || row < 0 ? 0 : 16 * row + column + 1;
}

} // namespace

TEST(CellGridTest, EveryCellFollowsTheGridAndTheTable)
{
    const swatches::Cells cells = BuildSafeCells();
    for (int k = 1; k <= 224; ++k) {
        const auto want = CellBox(k);
        EXPECT_EQ(cells[k].left, want.left) << k;
        EXPECT_EQ(cells[k].top, want.top) << k;
        EXPECT_EQ(cells[k].right, want.right) << k;
        EXPECT_EQ(cells[k].bottom, want.bottom) << k;
    }
    const struct {
        int k, left, top, right, bottom;
    } table[] = {{1, 10, 10, 25, 25},      {2, 28, 10, 43, 25},      {16, 280, 10, 295, 25},
                 {17, 10, 28, 25, 43},     {216, 136, 244, 151, 259}, {217, 154, 244, 169, 259},
                 {224, 280, 244, 295, 259}};
    for (const auto& t : table) {
        EXPECT_EQ(cells[t.k].left, t.left) << t.k;
        EXPECT_EQ(cells[t.k].top, t.top) << t.k;
        EXPECT_EQ(cells[t.k].right, t.right) << t.k;
        EXPECT_EQ(cells[t.k].bottom, t.bottom) << t.k;
    }
}

TEST(CellGridTest, EveryPixelOfTheGridAreaHitsOnlyInsideACell)
{
    const swatches::Cells cells = BuildSafeCells();
    int hits = 0;
    for (int y = 0; y <= 270; ++y)
        for (int x = 0; x <= 300; ++x) {
            const int want = ExpectedHit(x, y);
            ASSERT_EQ(HitCell(cells, x, y), want) << x << "," << y;
            hits += want != 0;
        }
    // 14 x 14 points per cell: its 15 pixels less the left or top border.
    EXPECT_EQ(hits, 224 * 14 * 14);
}

TEST(CellGridTest, PointsOnAndBesideEveryBorderAreStrict)
{
    const swatches::Cells cells = BuildSafeCells();
    // Points a little inside or outside of each border, as a float pointer
    // position and as a double.
    const double offsets[] = {0.0, 0.5, -0.5, 0.25, 1e-9, -1e-9};
    for (int k = 1; k <= 224; ++k) {
        const auto c = CellBox(k);
        const double midX = (c.left + c.right) / 2.0, midY = (c.top + c.bottom) / 2.0;
        for (double d : offsets) {
            for (double edgeX : {double(c.left), double(c.right)}) {
                const double x = edgeX + d;
                ASSERT_EQ(HitCell(cells, x, midY), ExpectedHit(x, midY)) << k << " x " << x;
            }
            for (double edgeY : {double(c.top), double(c.bottom)}) {
                const double y = edgeY + d;
                ASSERT_EQ(HitCell(cells, midX, y), ExpectedHit(midX, y)) << k << " y " << y;
            }
        }
        // The nearest floats either side of the borders.
        const float inf = std::numeric_limits<float>::infinity();
        EXPECT_EQ(HitCell(cells, std::nextafter(float(c.left), inf), midY), k);
        EXPECT_EQ(HitCell(cells, std::nextafter(float(c.right), -inf), midY), k);
        EXPECT_EQ(HitCell(cells, midX, std::nextafter(float(c.top), inf)), k);
        EXPECT_EQ(HitCell(cells, midX, std::nextafter(float(c.bottom), -inf)), k);
        EXPECT_EQ(HitCell(cells, float(c.left), midY), 0);
        EXPECT_EQ(HitCell(cells, float(c.right), midY), 0);
        // The four corners themselves.
        for (int x : {c.left, c.right})
            for (int y : {c.top, c.bottom})
                EXPECT_EQ(HitCell(cells, x, y), 0) << k;
    }
    EXPECT_EQ(HitCell(cells, 11, 11), 1);
    EXPECT_EQ(HitCell(cells, 24, 24), 1);
    EXPECT_EQ(HitCell(cells, 25, 17), 0);
    EXPECT_EQ(HitCell(cells, 294, 258), 224);
}

TEST(CellGridTest, PointsFarOutsideOrNotANumberHitNothing)
{
    const swatches::Cells cells = BuildSafeCells();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {nan, inf, -inf, -1e300, 1e300})
        for (double other : {17.0, v}) {
            EXPECT_EQ(HitCell(cells, v, other), 0);
            EXPECT_EQ(HitCell(cells, other, v), 0);
        }
}
