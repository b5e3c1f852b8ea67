// AudioEffectX: the base behaviour of the VST 2.x extension operations an
// effect class does not override. Host requests, speaker tools and the
// dispatcher live in their own files.
#include "host/audio_effect_x.h"

#include "host/relaxed.h"

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms,
                           VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

bool AudioEffectX::canParameterBeAutomated(VstInt32 /*index*/) {
    return true;
}

bool AudioEffectX::string2parameter(VstInt32 /*index*/, char* /*text*/) {
    return false;
}

bool AudioEffectX::getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/) {
    return false;
}

bool AudioEffectX::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/,
                                         char* /*text*/) {
    return false;
}

bool AudioEffectX::beginSetProgram() {
    return false;
}

bool AudioEffectX::endSetProgram() {
    return false;
}

VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo* /*ptr*/) {
    return 0;
}

VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo* /*ptr*/) {
    return 0;
}

bool AudioEffectX::getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
}

bool AudioEffectX::getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
}

bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement* /*pluginInput*/,
                                         VstSpeakerArrangement* /*pluginOutput*/) {
    return false;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
    if (pluginInput != nullptr) {
        *pluginInput = nullptr;
    }
    if (pluginOutput != nullptr) {
        *pluginOutput = nullptr;
    }
    return false;
}

bool AudioEffectX::setBypass(bool /*onOff*/) {
    return false;
}

bool AudioEffectX::setPanLaw(VstInt32 /*type*/, float /*val*/) {
    return false;
}

bool AudioEffectX::setProcessPrecision(VstInt32 /*precision*/) {
    return false;
}

VstInt32 AudioEffectX::getNumMidiInputChannels() {
    return 0;
}

VstInt32 AudioEffectX::getNumMidiOutputChannels() {
    return 0;
}

VstInt32 AudioEffectX::processEvents(VstEvents* /*events*/) {
    return 0;
}

VstInt32 AudioEffectX::startProcess() {
    return 0;
}

VstInt32 AudioEffectX::stopProcess() {
    return 0;
}

bool AudioEffectX::processVariableIo(VstVariableIo* /*varIo*/) {
    return false;
}

VstInt32 AudioEffectX::setTotalSampleToProcess(VstInt32 value) {
    return value;
}

void AudioEffectX::isSynth(bool state) {
    setFlag(effFlagsIsSynth, state);
}

void AudioEffectX::noTail(bool state) {
    setFlag(effFlagsNoSoundInStop, state);
}

VstInt32 AudioEffectX::getGetTailSize() {
    return 0;
}

// The plug-in supplies its identity; the base answers "unknown".
bool AudioEffectX::getEffectName(char* /*name*/) {
    return false;
}

bool AudioEffectX::getVendorString(char* /*text*/) {
    return false;
}

bool AudioEffectX::getProductString(char* /*text*/) {
    return false;
}

VstInt32 AudioEffectX::getVendorVersion() {
    return 0;
}

VstIntPtr AudioEffectX::vendorSpecific(VstInt32 /*lArg*/, VstIntPtr /*lArg2*/, void* /*ptrArg*/,
                                       float /*floatArg*/) {
    return 0;
}

VstInt32 AudioEffectX::canDo(char* /*text*/) {
    return 0;
}

VstInt32 AudioEffectX::getVstVersion() {
    return kVstVersion;
}

VstInt32 AudioEffectX::getPlugCategory() {
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

VstInt32 AudioEffectX::getMidiProgramName(VstInt32 /*channel*/,
                                          MidiProgramName* /*midiProgramName*/) {
    return 0;
}

VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32 /*channel*/,
                                             MidiProgramName* /*currentProgram*/) {
    return -1;
}

VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32 /*channel*/,
                                              MidiProgramCategory* /*category*/) {
    return 0;
}

bool AudioEffectX::hasMidiProgramsChanged(VstInt32 /*channel*/) {
    return false;
}

bool AudioEffectX::getMidiKeyName(VstInt32 /*channel*/, MidiKeyName* /*keyName*/) {
    return false;
}

VstInt32 AudioEffectX::getNextShellPlugin(char* /*name*/) {
    return 0;
}

bool AudioEffectX::offlineNotify(VstAudioFile* /*ptr*/, VstInt32 /*numAudioFiles*/,
                                 bool /*start*/) {
    return false;
}

bool AudioEffectX::offlinePrepare(VstOfflineTask* /*offline*/, VstInt32 /*count*/) {
    return false;
}

bool AudioEffectX::offlineRun(VstOfflineTask* /*offline*/, VstInt32 /*count*/) {
    return false;
}

VstInt32 AudioEffectX::offlineGetNumPasses() {
    return 0;
}

VstInt32 AudioEffectX::offlineGetNumMetaPasses() {
    return 0;
}

VstInt32 AudioEffectX::getNumCategories() {
    return 1;
}

bool AudioEffectX::copyProgram(VstInt32 /*destination*/) {
    return false;
}

void AudioEffectX::inputConnected(VstInt32 /*index*/, bool /*state*/) {}

void AudioEffectX::outputConnected(VstInt32 /*index*/, bool /*state*/) {}

void AudioEffectX::wantAsyncOperation(bool state) {
    setFlag(effFlagsExtIsAsync, state);
}

void AudioEffectX::hasExternalBuffer(bool state) {
    setFlag(effFlagsExtHasBuffer, state);
}

VstInt32 AudioEffectX::reportCurrentPosition() {
    return 0;
}

float* AudioEffectX::reportDestinationBuffer() {
    return nullptr;
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    storeRelaxed(blockSize, newBlockSize);
    storeRelaxed(sampleRate, newSampleRate);
}

bool AudioEffectX::getErrorText(char* /*text*/) {
    return false;
}

void* AudioEffectX::getIcon() {
    return nullptr;
}

bool AudioEffectX::setViewPosition(VstInt32 /*x*/, VstInt32 /*y*/) {
    return false;
}

VstInt32 AudioEffectX::fxIdle() {
    return 0;
}

bool AudioEffectX::keysRequired() {
    return false;
}
