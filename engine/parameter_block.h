// The stored forms of the 38 parameters: the current set the gate reads, and
// the first part of every program record.
#pragma once

#include "engine/parameter_ids.h"

#include <cstdint>

struct ParameterBlock {
    float probability[kNumSteps];
    std::int32_t legato[kNumSteps];
    std::int32_t lastStep;
    std::int32_t noteValue;
    std::int32_t declick;
    float duration;
    float gateOffLevel;
    float output;
};

inline constexpr int kMaxProgramNameLength = 24;

// A program: a complete parameter set in stored form, followed by its name.
struct TarvokinProgram {
    TarvokinProgram(); // builds the default program
    ParameterBlock values;
    char name[kMaxProgramNameLength + 1];
};
