// Conversions between a parameter's host value (a float, nominally 0..1) and
// its stored form, and the numbers behind the display texts. Pure functions,
// shared by the effect, the panel and the tests.
//
// Host values outside 0..1 never produce integers outside a field's range:
// selectors and switches are clamped, and NaN selects the first entry (off).
#pragma once

#include <cstdint>

// The top entries of the two selector parameters: the step count (lastStep
// 0..15) and the note value (noteValue 0..7).
inline constexpr std::int32_t kTopLastStep = 15;
inline constexpr std::int32_t kTopNoteValue = 7;

// trunc(value * top) formed in double, clamped to 0..top. Host values from
// k / top up to but excluding (k + 1) / top select k; only 1.0 selects top.
// NaN and values below 0 select 0, values above 1 select top.
std::int32_t selectorFromHost(float value, std::int32_t top);

// selector / top formed in double and rounded to the nearest float. The float
// is never below the exact quotient, so selectorFromHost gives selector back.
float hostFromSelector(std::int32_t selector, std::int32_t top);

// trunc(value + 0.5) clamped to 0/1: on from 0.5 upwards; NaN is off.
std::int32_t switchFromHost(float value);

// 1 - value formed in double and rounded to float: the gate-off level from
// the host's mix value, and the mix value back from the level. NaN stays NaN.
float complementOfUnit(float value);

// trunc(stored * 100) formed in double, for the percentage displays. NaN shows
// 0; results beyond what 8 characters can show saturate at -9999999 and
// 99999999, so the text is never silently cut.
std::int32_t displayPercent(float stored);

// The display text of a note value ("1/4" ... "1/32T"), or null outside 0..7.
const char* noteValueText(std::int32_t noteValue);
