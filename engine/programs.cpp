// The program bank: the default program, loading a program into the current
// set, and program names.
#include "engine/parameter_conversions.h"
#include "engine/relaxed.h"
#include "engine/tarvokin.h"
#include "host/vst_text.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr char kDefaultProgramName[] = "Init";
} // namespace

TarvokinProgram::TarvokinProgram() : values{}, name{} {
    for (int step = 0; step < kNumSteps; ++step) {
        values.probability[step] = step % 2 == 0 ? 1.0f : 0.0f; // steps 1, 3, ..., 15 play
        values.legato[step] = 0;
    }
    values.lastStep = 7;  // 8 steps
    values.noteValue = 2; // 1/16
    values.declick = 1;
    values.duration = 1.0f;
    values.gateOffLevel = 0.0f;
    values.output = 1.0f;
    vstStrncpy(name, kDefaultProgramName, kMaxProgramNameLength);
}

TarvokinProgram* Tarvokin::currentProgramRecord() {
    const VstInt32 program = loadRelaxed(curProgram);
    if (programs == nullptr || program < 0 || program >= kNumPrograms) {
        return nullptr;
    }
    return &programs[program];
}

void Tarvokin::setProgram(VstInt32 program) {
    // The dispatcher only passes 0..7, but the operation is public.
    if (programs == nullptr || program < 0 || program >= kNumPrograms) {
        return;
    }
    // The program number changes first, so every value pushed below is written
    // back into the program being loaded, never into the one being left.
    storeRelaxed(curProgram, program);
    const ParameterBlock& values = programs[program].values;

    // Every value goes through setParameter in full, so the gate's derived
    // values and the editor follow, even when nothing changes.
    for (int step = 0; step < kNumSteps; ++step) {
        setParameter(kParamProbability + step, loadRelaxed(values.probability[step]));
        setParameter(kParamLegato + step, static_cast<float>(loadRelaxed(values.legato[step])));
    }
    setParameter(kParamStep, hostFromSelector(loadRelaxed(values.lastStep), kTopLastStep));
    setParameter(kParamNote, hostFromSelector(loadRelaxed(values.noteValue), kTopNoteValue));
    setParameter(kParamDeclick, static_cast<float>(loadRelaxed(values.declick)));
    setParameter(kParamDuration, loadRelaxed(values.duration));
    setParameter(kParamGateOff, complementOfUnit(loadRelaxed(values.gateOffLevel)));
    setParameter(kParamOutput, loadRelaxed(values.output));
}

void Tarvokin::setProgramName(char* name) {
    TarvokinProgram* program = currentProgramRecord();
    if (program == nullptr || name == nullptr) {
        return;
    }
    vstStrncpy(program->name, name, kMaxProgramNameLength);
}

void Tarvokin::getProgramName(char* name) {
    TarvokinProgram* program = currentProgramRecord();
    if (program == nullptr || name == nullptr) {
        return;
    }
    // An untouched default name is numbered, so a host lists "Init 1" ... "Init 8".
    if (std::strcmp(program->name, kDefaultProgramName) == 0) {
        char numbered[sizeof program->name + 16];
        std::snprintf(numbered, sizeof numbered, "%s %d", program->name,
                      static_cast<int>(loadRelaxed(curProgram)) + 1);
        vstStrncpy(name, numbered, kMaxProgramNameLength);
        return;
    }
    vstStrncpy(name, program->name, kMaxProgramNameLength);
}
