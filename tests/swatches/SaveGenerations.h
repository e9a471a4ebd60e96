#pragma once
// The arrays the save-loop helper writes one after another. Element 0 names
// the generation and the others are scattered over widths and signs, so a
// file torn between two saves, or cut short, parses to neither of them.
#include <cstdint>

#include "swatches/CustomColors.h"

namespace swatch_testing {

inline swatches::CustomColorArray Generation(uint64_t n)
{
    swatches::CustomColorArray a{};
    uint64_t state = n * 0x9E3779B97F4A7C15ull + 1;
    for (size_t i = 0; i < a.size(); ++i) {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        // Widths from one digit to ten and both signs, varying with n.
        const int digits = int((n + i) % 10);
        int64_t limit = 1;
        for (int d = 0; d < digits; ++d)
            limit *= 10;
        int64_t v = int64_t(z % uint64_t(limit < 2147483647 ? limit : 2147483647));
        if ((z >> 40) & 1)
            v = -v;
        a[i] = int32_t(v);
    }
    a[0] = int32_t(n); // names the generation
    return a;
}

} // namespace swatch_testing
