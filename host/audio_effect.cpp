// AudioEffect: construction of the record, ownership of the editor, and the
// base behaviour of the operations an effect class does not override.
#include "host/audio_effect.h"

#include "host/aeff_editor.h"
#include "host/effect_entries.h"
#include "host/relaxed.h"

#include <cstring>

namespace {

// 'NoEf': the identifier a record carries until the plug-in sets its own.
constexpr VstInt32 kDefaultUniqueId = 0x4E6F4566;

void writeEmptyText(char* text) {
    if (text != nullptr) {
        text[0] = '\0';
    }
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), editor(nullptr), sampleRate(44100.0f), blockSize(1024),
      numPrograms(numPrograms), numParams(numParams), curProgram(0) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = effect_entries::dispatcher;
    cEffect.process = effect_entries::process;
    cEffect.setParameter = effect_entries::setParameter;
    cEffect.getParameter = effect_entries::getParameter;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kDefaultUniqueId;
    cEffect.version = 1;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.processReplacing = effect_entries::processReplacing;
    cEffect.processDoubleReplacing = effect_entries::processDoubleReplacing;
}

AudioEffect::~AudioEffect() {
    delete editor;
    editor = nullptr;
}

void AudioEffect::setSampleRate(float newSampleRate) {
    storeRelaxed(sampleRate, newSampleRate);
}

void AudioEffect::setBlockSize(VstInt32 newBlockSize) {
    storeRelaxed(blockSize, newBlockSize);
}

void AudioEffect::processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                         VstInt32 /*sampleFrames*/) {}

void AudioEffect::setParameter(VstInt32 /*index*/, float /*value*/) {}

float AudioEffect::getParameter(VstInt32 /*index*/) {
    return 0.0f;
}

VstInt32 AudioEffect::getProgram() {
    return curProgram;
}

void AudioEffect::setProgram(VstInt32 program) {
    curProgram = program;
}

void AudioEffect::setProgramName(char* /*name*/) {}

void AudioEffect::getProgramName(char* name) {
    writeEmptyText(name);
}

void AudioEffect::getParameterLabel(VstInt32 /*index*/, char* label) {
    writeEmptyText(label);
}

void AudioEffect::getParameterDisplay(VstInt32 /*index*/, char* text) {
    writeEmptyText(text);
}

void AudioEffect::getParameterName(VstInt32 /*index*/, char* text) {
    writeEmptyText(text);
}

VstInt32 AudioEffect::getChunk(void** /*data*/, bool /*isPreset*/) {
    return 0;
}

VstInt32 AudioEffect::setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) {
    return 0;
}

void AudioEffect::setUniqueID(VstInt32 iD) {
    cEffect.uniqueID = iD;
}

void AudioEffect::setNumInputs(VstInt32 inputs) {
    cEffect.numInputs = inputs;
}

void AudioEffect::setNumOutputs(VstInt32 outputs) {
    cEffect.numOutputs = outputs;
}

void AudioEffect::canProcessReplacing(bool state) {
    setFlag(effFlagsCanReplacing, state);
}

void AudioEffect::canDoubleReplacing(bool state) {
    setFlag(effFlagsCanDoubleReplacing, state);
}

void AudioEffect::programsAreChunks(bool state) {
    setFlag(effFlagsProgramChunks, state);
}

void AudioEffect::setInitialDelay(VstInt32 delay) {
    cEffect.initialDelay = delay;
}

AEffEditor* AudioEffect::getEditor() {
    return editor;
}

AEffect* AudioEffect::getAeffect() {
    return &cEffect;
}

float AudioEffect::getSampleRate() {
    return loadRelaxed(sampleRate);
}

VstInt32 AudioEffect::getBlockSize() {
    return loadRelaxed(blockSize);
}

void AudioEffect::process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}

float AudioEffect::getVu() {
    return 0.0f;
}

void AudioEffect::hasVu(bool state) {
    setFlag(effFlagsHasVu, state);
}

void AudioEffect::hasClip(bool state) {
    setFlag(effFlagsHasClip, state);
}

void AudioEffect::canMono(bool state) {
    setFlag(effFlagsCanMono, state);
}

void AudioEffect::setRealtimeQualities(VstInt32 qualities) {
    cEffect.realQualities = qualities;
}

void AudioEffect::setOfflineQualities(VstInt32 qualities) {
    cEffect.offQualities = qualities;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    // The record advertises an editor only while one is attached, so a host
    // never opens a window that cannot come.
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 bit, bool state) {
    // Read the bool's byte rather than the bool itself: a caller that filled
    // it from a raw byte still means "set" by any non-zero value.
    unsigned char byte = 0;
    std::memcpy(&byte, &state, 1);
    if (byte != 0) {
        cEffect.flags |= bit;
    } else {
        cEffect.flags &= ~bit;
    }
}
