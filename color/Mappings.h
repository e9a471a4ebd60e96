#pragma once
#include <cstdint>
#include "color/PickerGeometry.h"

namespace color {

// Picker position -> hue, saturation or brightness (floored). Positions are
// expected inside the field or strip; values outside give values outside
// the usual ranges but never overflow (results saturate at the int32
// limits, and a NaN strip position reads 0).
int32_t FieldXToHue(int32_t FieldX, const PickerGeometry& g);
int32_t FieldXToSaturation(int32_t FieldX, const PickerGeometry& g);
int32_t FieldYToBrightness(int32_t FieldY, const PickerGeometry& g);
int32_t FieldYToSaturation(int32_t FieldY, const PickerGeometry& g);
int32_t StripYToHue(float y, const PickerGeometry& g);
int32_t StripYToPercent(float y, const PickerGeometry& g);

// The hue box's check: a whole number of degrees from 0 to 360.
bool IsValidHue(double H);

// Box value -> position. Any double is accepted: the mapped position is
// clamped into the field or strip before it becomes an integer, so a typed
// value can never put a marker outside the picker (NaN lands on the top or
// left edge).
float HueToStripY(double H, const PickerGeometry& g);        // typed hue keeps the fraction
float HueToStripYFloored(double H, const PickerGeometry& g); // switching to hue mode floors it
// The row for a saturation or brightness on the strip of those modes.
float PercentToStripY(double value, const PickerGeometry& g);
int32_t HueToFieldX(double H, const PickerGeometry& g);
int32_t SaturationToFieldX(double S, const PickerGeometry& g);
int32_t SaturationToFieldY(double S, const PickerGeometry& g);
int32_t BrightnessToFieldY(double B, const PickerGeometry& g);

// A box's saturation or brightness as the hue mix takes it: clamped to
// 0..100 first, then rounded (ties to even).
int16_t PercentForMix(double value);

// Mix of a strip colour with saturation S and brightness B (both 0..100;
// values outside are clamped, and so are channels outside 0..255, so every
// result channel is 0..255). Returns the packed colour value.
int32_t HueMix(int16_t red, int16_t green, int16_t blue, int16_t S, int16_t B);

} // namespace color
