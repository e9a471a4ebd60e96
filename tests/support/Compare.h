#pragma once
#include <gtest/gtest.h>

#include "tests/support/Picture.h"

namespace expected {

// Every pixel of `region` (clipped to both pictures) must agree. A failure
// counts the differing pixels, gives the box around them and lists the
// first few with both colours.
::testing::AssertionResult SameRegion(const Picture& got, const Picture& want, const Box& region);
::testing::AssertionResult SameRegion(const QImage& got, const Picture& want, const Box& region);
// Both of one size and equal everywhere.
::testing::AssertionResult SameImage(const Picture& got, const Picture& want);
::testing::AssertionResult SameImage(const QImage& got, const Picture& want);

inline ::testing::AssertionResult SameRegion(const platform::Surface& got, const Picture& want, const Box& region)
{
    return SameRegion(got.Image(), want, region);
}
inline ::testing::AssertionResult SameImage(const platform::Surface& got, const Picture& want)
{
    return SameImage(got.Image(), want);
}

// The surface against colorAt(x, y) at every one of its pixels.
template <class F>
::testing::AssertionResult MatchesEverywhere(const platform::Surface& s, F colorAt)
{
    return SameImage(s, Picture::Generated(s.Width(), s.Height(), colorAt));
}

} // namespace expected
