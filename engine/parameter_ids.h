// Parameter indices as the host and the panel address them. Every panel control
// carries its parameter index as its tag.
#pragma once

inline constexpr int kNumParams = 38;
inline constexpr int kNumPrograms = 8;
inline constexpr int kNumSteps = 16;

enum ParameterIndex : int {
    kParamProbability = 0, // 0..15: probability of step 1..16
    kParamLegato = 16,     // 16..31: legato switch of step 1..16
    kParamStep = 32,       // step count ("Step")
    kParamNote = 33,       // step length as a note value ("Note")
    kParamDeclick = 34,    // declick ramp on/off ("Declick")
    kParamDuration = 35,   // open part of each step ("Duratio")
    kParamGateOff = 36,    // mix, stored as the gate-off level ("Gateoff")
    kParamOutput = 37,     // output level ("Output")
};
