// The VST 2.4 binary interface: the records, entry-function types, opcodes and
// flags shared between a host and a plug-in. Every record is a wire format, so
// its field order, widths and offsets are pinned down by static_asserts for both
// 32-bit and 64-bit builds.
#pragma once

#include <cstddef>
#include <cstdint>

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

// Entry functions and the host callback use the C calling convention.
#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// 'VstP', most significant byte first.
inline constexpr VstInt32 kEffectMagic = 0x56737450;
inline constexpr VstInt32 kVstVersion = 2400;

struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process; // accumulating processing, deprecated
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

#if INTPTR_MAX == INT32_MAX
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 4);
static_assert(offsetof(AEffect, process) == 8);
static_assert(offsetof(AEffect, setParameter) == 12);
static_assert(offsetof(AEffect, getParameter) == 16);
static_assert(offsetof(AEffect, numPrograms) == 20);
static_assert(offsetof(AEffect, numParams) == 24);
static_assert(offsetof(AEffect, numInputs) == 28);
static_assert(offsetof(AEffect, numOutputs) == 32);
static_assert(offsetof(AEffect, flags) == 36);
static_assert(offsetof(AEffect, resvd1) == 40);
static_assert(offsetof(AEffect, resvd2) == 44);
static_assert(offsetof(AEffect, initialDelay) == 48);
static_assert(offsetof(AEffect, realQualities) == 52);
static_assert(offsetof(AEffect, offQualities) == 56);
static_assert(offsetof(AEffect, ioRatio) == 60);
static_assert(offsetof(AEffect, object) == 64);
static_assert(offsetof(AEffect, user) == 68);
static_assert(offsetof(AEffect, uniqueID) == 72);
static_assert(offsetof(AEffect, version) == 76);
static_assert(offsetof(AEffect, processReplacing) == 80);
static_assert(offsetof(AEffect, processDoubleReplacing) == 84);
static_assert(offsetof(AEffect, future) == 88);
static_assert(sizeof(AEffect) == 144);
#else
// 64-bit: pointers and pointer-sized integers are 8 bytes wide and aligned.
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(offsetof(AEffect, future) == 136);
static_assert(sizeof(AEffect) == 192);
#endif

// Bits of AEffect::flags.
enum : VstInt32 {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2, // deprecated
    effFlagsHasVu = 4,   // deprecated
    effFlagsCanMono = 8, // deprecated
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,
    effFlagsIsSynth = 256,
    effFlagsNoSoundInStop = 512,
    effFlagsExtIsAsync = 1024,   // deprecated
    effFlagsExtHasBuffer = 2048, // deprecated
    effFlagsCanDoubleReplacing = 4096,
};

// Host-to-plug-in opcodes, sent through AEffect::dispatcher.
enum : VstInt32 {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9, // deprecated
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditDraw = 16,  // deprecated
    effEditMouse = 17, // deprecated
    effEditKey = 18,   // deprecated
    effEditIdle = 19,
    effEditTop = 20,   // deprecated
    effEditSleep = 21, // deprecated
    effIdentify = 22,  // deprecated, still answered
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28, // deprecated
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,   // deprecated
    effConnectInput = 31,  // deprecated
    effConnectOutput = 32, // deprecated
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetCurrentPosition = 36,   // deprecated
    effGetDestinationBuffer = 37, // deprecated
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43, // deprecated
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetErrorText = 46, // deprecated
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,            // deprecated
    effGetIcon = 54,         // deprecated
    effSetViewPosition = 55, // deprecated
    effGetParameterProperties = 56,
    effKeysRequired = 57, // deprecated
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

// Plug-in-to-host opcodes, sent through the host callback.
enum : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4, // deprecated
    audioMasterWantMidi = 6,     // deprecated
    audioMasterGetTime = 7,
    audioMasterTempoAt = 10,                     // deprecated
    audioMasterGetNumAutomatableParameters = 11, // deprecated
    audioMasterGetParameterQuantization = 12,    // deprecated
    audioMasterIOChanged = 13,
    audioMasterNeedIdle = 14, // deprecated
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,         // deprecated
    audioMasterGetNextPlug = 21,             // deprecated
    audioMasterWillReplaceOrAccumulate = 22, // deprecated
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,         // deprecated
    audioMasterGetOutputSpeakerArrangement = 31, // deprecated
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,  // deprecated
    audioMasterCloseWindow = 40, // deprecated
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
    audioMasterOpenFileSelector = 45,
    audioMasterCloseFileSelector = 46,
    audioMasterGetChunkFile = 48,               // deprecated
    audioMasterGetInputSpeakerArrangement = 49, // deprecated
};

// Plug-in categories answered to effGetPlugCategory.
enum : VstInt32 {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

// The host's time record. The gate reads ppqPos, tempo and flags; the other
// fields are here so that the record has the size and offsets hosts fill in.
struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};
static_assert(offsetof(VstTimeInfo, samplePos) == 0);
static_assert(offsetof(VstTimeInfo, sampleRate) == 8);
static_assert(offsetof(VstTimeInfo, ppqPos) == 24);
static_assert(offsetof(VstTimeInfo, tempo) == 32);
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(VstTimeInfo, flags) == 84);
static_assert(sizeof(VstTimeInfo) == 88);

// Bits of VstTimeInfo::flags, and the filter bits of the time request.
enum : VstInt32 {
    kVstTransportChanged = 1,
    kVstTransportPlaying = 2,
    kVstPpqPosValid = 512,
    kVstTempoValid = 1024,
};

// Key record handed to the editor for effEditKeyDown / effEditKeyUp.
struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};
static_assert(offsetof(VstKeyCode, character) == 0);
static_assert(offsetof(VstKeyCode, virt) == 4);
static_assert(offsetof(VstKeyCode, modifier) == 5);
static_assert(sizeof(VstKeyCode) == 8);

// The editor's rectangle as the host reads it.
struct ERect {
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};
static_assert(offsetof(ERect, top) == 0);
static_assert(offsetof(ERect, left) == 2);
static_assert(offsetof(ERect, bottom) == 4);
static_assert(offsetof(ERect, right) == 6);
static_assert(sizeof(ERect) == 8);

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    VstInt32 type;
    char future[28];
};
static_assert(offsetof(VstSpeakerProperties, azimuth) == 0);
static_assert(offsetof(VstSpeakerProperties, elevation) == 4);
static_assert(offsetof(VstSpeakerProperties, radius) == 8);
static_assert(offsetof(VstSpeakerProperties, reserved) == 12);
static_assert(offsetof(VstSpeakerProperties, name) == 16);
static_assert(offsetof(VstSpeakerProperties, type) == 80);
static_assert(offsetof(VstSpeakerProperties, future) == 84);
static_assert(sizeof(VstSpeakerProperties) == 112);

// A speaker arrangement is a header followed by numChannels speaker records;
// its real length is kSpeakerArrangementHeaderSize + 112 x numChannels bytes, so
// the records are reached through speakerAt() rather than a fixed-size array.
struct VstSpeakerArrangement {
    VstInt32 type;
    VstInt32 numChannels;
};
inline constexpr std::size_t kSpeakerArrangementHeaderSize = 8;
static_assert(offsetof(VstSpeakerArrangement, type) == 0);
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4);
static_assert(sizeof(VstSpeakerArrangement) == kSpeakerArrangementHeaderSize);

inline VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, VstInt32 channel) {
    auto* bytes = reinterpret_cast<unsigned char*>(arrangement);
    return reinterpret_cast<VstSpeakerProperties*>(bytes + kSpeakerArrangementHeaderSize +
                                                   sizeof(VstSpeakerProperties) *
                                                       static_cast<std::size_t>(channel));
}
inline const VstSpeakerProperties* speakerAt(const VstSpeakerArrangement* arrangement,
                                             VstInt32 channel) {
    return speakerAt(const_cast<VstSpeakerArrangement*>(arrangement), channel);
}

// Opaque records the base classes pass through without reading.
struct VstEvents;
struct VstPinProperties;
struct VstParameterProperties;
struct VstPatchChunkInfo;
struct VstVariableIo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstFileSelect;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

// Text limits of the host's buffers (characters, the terminator not counted).
inline constexpr int kVstMaxParamStrLen = 8;
inline constexpr int kVstMaxProgNameLen = 24;
inline constexpr int kVstMaxEffectNameLen = 32;
inline constexpr int kVstMaxVendorStrLen = 64;
inline constexpr int kVstMaxProductStrLen = 64;
