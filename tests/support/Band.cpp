#include "tests/support/Band.h"

#include <algorithm>

namespace expected {

platform::PixelList BandPixels(const platform::Box& outer, const platform::Box& inner, platform::ClipSize clip)
{
    platform::PixelList out;
    const bool hasInner = inner.left <= inner.right && inner.top <= inner.bottom;
    // Only the part inside the image is walked: boxes may reach far beyond it.
    const long long top = std::max(outer.top, 0LL);
    const long long bottom = std::min(outer.bottom, clip.height - 1LL);
    const long long left = std::max(outer.left, 0LL);
    const long long right = std::min(outer.right, clip.width - 1LL);
    for (long long y = top; y <= bottom; ++y) {
        for (long long x = left; x <= right; ++x) {
            const bool inInner = hasInner && inner.left <= x && x <= inner.right && inner.top <= y && y <= inner.bottom;
            if (!inInner)
                out.push_back({static_cast<int>(x), static_cast<int>(y)});
        }
    }
    return out;
}

} // namespace expected
