// The step lengths that the note value selects, in beats (quarter notes).
// The triplet lengths are the six-digit decimals the plug-in has always used,
// not exact thirds: saved songs line up with that grid.
#pragma once

inline constexpr int kNumNoteValues = 8;

inline constexpr double kNoteStepLength[kNumNoteValues] = {
    1.0,      // 1/4
    0.5,      // 1/8
    0.25,     // 1/16
    0.125,    // 1/32
    0.666666, // 1/4T
    0.333333, // 1/8T
    0.166666, // 1/16T
    0.083333, // 1/32T
};
