#pragma once
#include <cstdint>

// Where a box value puts the ring or the strip marks, what a position
// writes back into a box, and the sample while the hue strip is dragged.
namespace expected {

// Box value -> position: nearest whole position, ties to even, kept inside
// the field; a value that is not a number goes to the top or left edge.
int32_t HueFieldX(double H);
int32_t PercentFieldX(double S);
int32_t PercentFieldY(double v);
// The strip position keeps its fraction for a typed hue and is floored on
// a switch to hue mode.
float HueStripY(double H);
float HueStripYFloored(double H);
float PercentStripY(double v);

// Position inside the picker -> box value, floored.
int HueOfFieldX(int x);
int PercentOfFieldX(int x);
int PercentOfFieldY(int y); // also the strip's percentage in the other modes
int HueOfStripRow(int y);

// The new-colour sample while the hue strip is dragged: each channel c of
// the strip colour becomes ((255 - c)(100 - S) / 100 + c) B / 100, in
// double precision, rounded half to even.
int32_t HueMixSample(int32_t strip, int S, int B);

} // namespace expected
