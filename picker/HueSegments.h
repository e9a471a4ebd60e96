#pragma once
#include <cstdint>

namespace picker {

// The six hue segments across the saturation and brightness fields. For a
// buffer column e (0..255) they give the ramp value v of its one changing
// channel and which channel plays which part.
struct HueColumn {
    int v;         // ramp value; -3 at the last column of segments 2 and 6
    int rampSlot;  // 0 red, 1 green, 2 blue: the channel that carries the ramp
    int fullSlot;  // the channel at the row's full value
    int otherSlot; // the channel at the row's low value
};

// Segment ends 42, 85, 128, 170, 212, 255: k * 42.5 in single precision,
// rounded to even.
HueColumn HueColumnAt(int e);

} // namespace picker
