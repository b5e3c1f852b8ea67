// The panel's value-to-text function for the Duration, Mix and Output displays.
#pragma once

// Writes trunc(value * 100 + 0.5) as a decimal integer ("0" ... "100" for
// 0..1), computed in double precision. A NaN writes "0"; results beyond the
// 32-bit integer range are clamped to it. text must hold 12 characters.
void formatPercent(float value, char* text);
