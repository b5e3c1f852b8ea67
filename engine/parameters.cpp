// The 38 parameters: host value to stored form and back, names, labels and
// display texts, and the side effects of a change.
#include "engine/parameter_conversions.h"
#include "engine/relaxed.h"
#include "engine/tarvokin.h"
#include "host/aeff_editor.h"
#include "host/vst_text.h"

#include <array>
#include <cstdio>

namespace {

// Parameter texts hold 8 characters; the host's buffer one byte more.
constexpr std::size_t kParamTextLength = 8;
constexpr double kDeclickSeconds = 0.005;

constexpr std::array<const char*, kNumParams - kParamStep> kFixedNames = {
    "Step", "Note", "Declick", "Duratio", "Gateoff", "Output"};

bool isProbability(VstInt32 index) {
    return index >= kParamProbability && index < kParamProbability + kNumSteps;
}

bool isLegato(VstInt32 index) {
    return index >= kParamLegato && index < kParamLegato + kNumSteps;
}

bool isParameter(VstInt32 index) {
    return index >= 0 && index < kNumParams;
}

// Writes one stored value into the program record and the current set; each
// field is one whole value for the audio thread.
template <typename T>
void storeInBoth(T& programField, T& currentField, T value) {
    storeRelaxed(programField, value);
    storeRelaxed(currentField, value);
}

// Formats a stem and a number, e.g. "Prob" and 16, or "" and a display value.
// Everything written fits 8 characters (displayPercent saturates); the copy
// keeps the host's buffer terminated at 8 whatever the number.
void formatNumbered(char* text, const char* stem, int number) {
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%s%d", stem, number);
    vstStrncpy(text, formatted, kParamTextLength);
}

void formatNumber(char* text, int number) {
    formatNumbered(text, "", number);
}

} // namespace

void Tarvokin::setParameter(VstInt32 index, float value) {
    if (TarvokinProgram* program = currentProgramRecord(); program != nullptr) {
        storeParameter(program->values, index, value);
    }
    // The editor hears every call, out-of-range indices included, with the
    // value as received; it reads the stored form back itself.
    if (editor != nullptr) {
        editor->setParameter(index, value);
    }
}

void Tarvokin::storeParameter(ParameterBlock& record, VstInt32 index, float value) {
    if (isProbability(index)) {
        const int step = index - kParamProbability;
        storeInBoth(record.probability[step], currentSet.probability[step], value);
        return;
    }
    if (isLegato(index)) {
        const int step = index - kParamLegato;
        storeInBoth(record.legato[step], currentSet.legato[step], switchFromHost(value));
        return;
    }
    switch (index) {
    case kParamStep:
        storeInBoth(record.lastStep, currentSet.lastStep, selectorFromHost(value, kTopLastStep));
        break;
    case kParamNote:
        storeInBoth(record.noteValue, currentSet.noteValue, selectorFromHost(value, kTopNoteValue));
        updateStepLength();
        break;
    case kParamDeclick: {
        const std::int32_t declick = switchFromHost(value);
        storeInBoth(record.declick, currentSet.declick, declick);
        storeRelaxed(declickTime, declick != 0 ? kDeclickSeconds : 0.0);
        break;
    }
    case kParamDuration:
        storeInBoth(record.duration, currentSet.duration, value);
        break;
    case kParamGateOff:
        storeInBoth(record.gateOffLevel, currentSet.gateOffLevel, complementOfUnit(value));
        break;
    case kParamOutput:
        storeInBoth(record.output, currentSet.output, value);
        break;
    default:
        break; // not a parameter: nothing is stored
    }
}

float Tarvokin::getParameter(VstInt32 index) {
    if (isProbability(index)) {
        return loadRelaxed(currentSet.probability[index - kParamProbability]);
    }
    if (isLegato(index)) {
        return static_cast<float>(loadRelaxed(currentSet.legato[index - kParamLegato]));
    }
    switch (index) {
    case kParamStep:
        return hostFromSelector(loadRelaxed(currentSet.lastStep), kTopLastStep);
    case kParamNote:
        return hostFromSelector(loadRelaxed(currentSet.noteValue), kTopNoteValue);
    case kParamDeclick:
        return static_cast<float>(loadRelaxed(currentSet.declick));
    case kParamDuration:
        return loadRelaxed(currentSet.duration);
    case kParamGateOff:
        return complementOfUnit(loadRelaxed(currentSet.gateOffLevel));
    case kParamOutput:
        return loadRelaxed(currentSet.output);
    default:
        return 0.0f;
    }
}

void Tarvokin::getParameterName(VstInt32 index, char* text) {
    if (text == nullptr || !isParameter(index)) {
        return;
    }
    if (isProbability(index)) {
        formatNumbered(text, "Prob", index - kParamProbability + 1);
    } else if (isLegato(index)) {
        formatNumbered(text, "Legat", index - kParamLegato + 1);
    } else {
        vstStrncpy(text, kFixedNames[static_cast<std::size_t>(index - kParamStep)],
                   kParamTextLength);
    }
}

void Tarvokin::getParameterLabel(VstInt32 index, char* label) {
    if (label == nullptr || !isParameter(index)) {
        return;
    }
    const bool isSwitchOrSelector =
        isLegato(index) || index == kParamStep || index == kParamNote || index == kParamDeclick;
    vstStrncpy(label, isSwitchOrSelector ? " " : "%", kParamTextLength);
}

void Tarvokin::getParameterDisplay(VstInt32 index, char* text) {
    if (text == nullptr || !isParameter(index)) {
        return;
    }
    if (isProbability(index)) {
        formatNumber(text, displayPercent(loadRelaxed(currentSet.probability[index])));
        return;
    }
    if (isLegato(index)) {
        formatNumber(text, loadRelaxed(currentSet.legato[index - kParamLegato]));
        return;
    }
    switch (index) {
    case kParamStep:
        formatNumber(text, loadRelaxed(currentSet.lastStep) + 1);
        break;
    case kParamNote:
        if (const char* note = noteValueText(loadRelaxed(currentSet.noteValue)); note != nullptr) {
            vstStrncpy(text, note, kParamTextLength);
        }
        break;
    case kParamDeclick:
        formatNumber(text, loadRelaxed(currentSet.declick));
        break;
    case kParamDuration:
        formatNumber(text, displayPercent(loadRelaxed(currentSet.duration)));
        break;
    case kParamGateOff:
        formatNumber(text, displayPercent(loadRelaxed(currentSet.gateOffLevel)));
        break;
    case kParamOutput:
        formatNumber(text, displayPercent(loadRelaxed(currentSet.output)));
        break;
    default:
        break;
    }
}
