// The generator of the gate's step draws: a linear congruential sequence with
// one state per thread, starting at 1 and never seeded, so a thread's draws
// are the same in every run (41, 18467, 6334, 26500, 19169, ...).
#pragma once

namespace StepRandom {

inline constexpr int kMaxDraw = 32767;

// Advances this thread's state and answers a value from 0 to kMaxDraw.
int draw();

} // namespace StepRandom
