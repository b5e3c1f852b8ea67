// The dispatcher, opcode by opcode: which operation each opcode reaches with
// which arguments, and how the result becomes the answer to the host.
#include "tests/host_probe_effect.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

char gBuffer[256];
char gWindow[16];
VstSpeakerArrangement* gInputSlot;
VstSpeakerArrangement* gOutputSlot;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct DispatchCase {
    const char* name;
    VstInt32 opcode;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    std::optional<VstIntPtr> forced = std::nullopt;
    VstIntPtr answer = 0;
    std::vector<ProbeCall> calls = {};
    bool withEditor = true;
};

VstIntPtr address(void* pointer) {
    return reinterpret_cast<VstIntPtr>(pointer);
}

std::vector<DispatchCase> baseLayerCases() {
    void* b = gBuffer;
    return {
        {.name = "open", .opcode = effOpen, .calls = {{"open"}}},
        {.name = "close", .opcode = effClose, .calls = {{"close"}}},
        {.name = "program 7", .opcode = effSetProgram, .value = 7, .calls = {{"setProgram", 7}}},
        {.name = "program 0", .opcode = effSetProgram, .value = 0, .calls = {{"setProgram", 0}}},
        {.name = "program 8 ignored", .opcode = effSetProgram, .value = 8},
        {.name = "program -1 ignored", .opcode = effSetProgram, .value = -1},
        {.name = "program huge ignored", .opcode = effSetProgram, .value = INTPTR_MAX},
        {.name = "get program",
         .opcode = effGetProgram,
         .forced = 5,
         .answer = 5,
         .calls = {{"getProgram"}}},
        {.name = "set program name",
         .opcode = effSetProgramName,
         .ptr = b,
         .calls = {{"setProgramName", 0, 0, 0, b}}},
        {.name = "get program name",
         .opcode = effGetProgramName,
         .ptr = b,
         .calls = {{"getProgramName", 0, 0, 0, b}}},
        {.name = "param label",
         .opcode = effGetParamLabel,
         .index = 3,
         .ptr = b,
         .calls = {{"getParameterLabel", 3, 0, 0, b}}},
        {.name = "param display",
         .opcode = effGetParamDisplay,
         .index = 4,
         .ptr = b,
         .calls = {{"getParameterDisplay", 4, 0, 0, b}}},
        {.name = "param name",
         .opcode = effGetParamName,
         .index = 5,
         .ptr = b,
         .calls = {{"getParameterName", 5, 0, 0, b}}},
        {.name = "vu", .opcode = effGetVu},
        {.name = "sample rate",
         .opcode = effSetSampleRate,
         .opt = 48000.0f,
         .calls = {{"setSampleRate", 0, 0, 0, nullptr, 48000.0f}}},
        {.name = "sample rate NaN ignored", .opcode = effSetSampleRate, .opt = kNaN},
        {.name = "sample rate inf ignored", .opcode = effSetSampleRate, .opt = kInf},
        {.name = "sample rate 0 ignored", .opcode = effSetSampleRate, .opt = 0.0f},
        {.name = "sample rate negative ignored", .opcode = effSetSampleRate, .opt = -44100.0f},
        {.name = "block size",
         .opcode = effSetBlockSize,
         .value = 512,
         .calls = {{"setBlockSize", 512}}},
        {.name = "block size 0 ignored", .opcode = effSetBlockSize, .value = 0},
        {.name = "block size negative ignored", .opcode = effSetBlockSize, .value = -5},
        {.name = "mains off", .opcode = effMainsChanged, .value = 0, .calls = {{"suspend"}}},
        {.name = "mains on", .opcode = effMainsChanged, .value = 1, .calls = {{"resume"}}},
        {.name = "mains -5", .opcode = effMainsChanged, .value = -5, .calls = {{"resume"}}},
        {.name = "get rect",
         .opcode = effEditGetRect,
         .ptr = b,
         .calls = {{"editor.getRect", 0, 0, 0, b}}},
        {.name = "get rect true",
         .opcode = effEditGetRect,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"editor.getRect", 0, 0, 0, b}}},
        {.name = "get rect no editor", .opcode = effEditGetRect, .ptr = b, .withEditor = false},
        {.name = "edit open",
         .opcode = effEditOpen,
         .ptr = gWindow,
         .forced = 1,
         .answer = 1,
         .calls = {{"editor.open", 0, 0, 0, gWindow}}},
        {.name = "edit open no editor", .opcode = effEditOpen, .ptr = gWindow, .withEditor = false},
        {.name = "edit close", .opcode = effEditClose, .calls = {{"editor.close"}}},
        {.name = "edit close no editor", .opcode = effEditClose, .withEditor = false},
        {.name = "edit idle", .opcode = effEditIdle, .calls = {{"editor.idle"}}},
        {.name = "edit idle no editor", .opcode = effEditIdle, .withEditor = false},
        {.name = "edit draw", .opcode = effEditDraw, .ptr = b},
        {.name = "edit mouse", .opcode = effEditMouse, .index = 1, .value = 1},
        {.name = "edit key", .opcode = effEditKey, .index = 65},
        {.name = "edit top", .opcode = effEditTop},
        {.name = "edit sleep", .opcode = effEditSleep},
        {.name = "identify", .opcode = effIdentify, .answer = 0x4E764566},
        {.name = "chunk preset",
         .opcode = effGetChunk,
         .index = 1,
         .ptr = b,
         .forced = 100,
         .answer = 100,
         .calls = {{"getChunk", 1, 0, 0, b}}},
        {.name = "chunk bank",
         .opcode = effGetChunk,
         .index = 0,
         .ptr = b,
         .calls = {{"getChunk", 0, 0, 0, b}}},
        {.name = "set chunk",
         .opcode = effSetChunk,
         .index = 7,
         .value = 64,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"setChunk", 64, 1, 0, b}}},
        {.name = "set chunk 0 bytes ignored", .opcode = effSetChunk, .value = 0, .ptr = b},
        {.name = "set chunk negative ignored", .opcode = effSetChunk, .value = -1, .ptr = b},
        {.name = "opcode -1", .opcode = -1, .index = 1, .value = 1, .ptr = b},
        {.name = "opcode 80", .opcode = 80, .index = 1, .value = 1, .ptr = b},
        {.name = "opcode 1000", .opcode = 1000, .ptr = b},
    };
}

std::vector<DispatchCase> extensionLayerCases() {
    void* b = gBuffer;
    return {
        {.name = "events",
         .opcode = effProcessEvents,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"processEvents", 0, 0, 0, b}}},
        {.name = "automatable beyond the parameters",
         .opcode = effCanBeAutomated,
         .index = 99,
         .answer = 1,
         .calls = {{"canParameterBeAutomated", 99}}},
        {.name = "string to parameter",
         .opcode = effString2Parameter,
         .index = 2,
         .ptr = b,
         .forced = 9,
         .answer = 1,
         .calls = {{"string2parameter", 2, 0, 0, b}}},
        {.name = "program categories", .opcode = effGetNumProgramCategories},
        {.name = "program name indexed",
         .opcode = effGetProgramNameIndexed,
         .index = 3,
         .value = 4,
         .ptr = b,
         .calls = {{"getProgramNameIndexed", 4, 3, 0, b}}},
        {.name = "copy program", .opcode = effCopyProgram, .index = 1},
        {.name = "connect input", .opcode = effConnectInput, .index = 1, .value = 1},
        {.name = "connect output", .opcode = effConnectOutput, .index = 1, .value = 1},
        {.name = "input properties",
         .opcode = effGetInputProperties,
         .index = 1,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"getInputProperties", 1, 0, 0, b}}},
        {.name = "output properties",
         .opcode = effGetOutputProperties,
         .index = 0,
         .ptr = b,
         .calls = {{"getOutputProperties", 0, 0, 0, b}}},
        {.name = "category", .opcode = effGetPlugCategory, .calls = {{"getPlugCategory"}}},
        {.name = "current position", .opcode = effGetCurrentPosition},
        {.name = "destination buffer", .opcode = effGetDestinationBuffer},
        {.name = "offline notify",
         .opcode = effOfflineNotify,
         .index = 1,
         .value = 3,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"offlineNotify", 3, 1, 0, b}}},
        {.name = "offline notify negative count",
         .opcode = effOfflineNotify,
         .value = -1,
         .ptr = b},
        {.name = "offline prepare",
         .opcode = effOfflinePrepare,
         .value = 2,
         .ptr = b,
         .calls = {{"offlinePrepare", 2, 0, 0, b}}},
        {.name = "offline run",
         .opcode = effOfflineRun,
         .value = 2,
         .ptr = b,
         .calls = {{"offlineRun", 2, 0, 0, b}}},
        {.name = "variable io",
         .opcode = effProcessVarIo,
         .ptr = b,
         .calls = {{"processVariableIo", 0, 0, 0, b}}},
        {.name = "set speakers",
         .opcode = effSetSpeakerArrangement,
         .value = address(gWindow),
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"setSpeakerArrangement", address(gWindow), 0, 0, b}}},
        {.name = "set speakers null input",
         .opcode = effSetSpeakerArrangement,
         .value = 0,
         .ptr = b},
        {.name = "block size and rate", .opcode = effSetBlockSizeAndSampleRate, .value = 64},
        {.name = "bypass 2", .opcode = effSetBypass, .value = 2, .calls = {{"setBypass", 1}}},
        {.name = "bypass off", .opcode = effSetBypass, .value = 0, .calls = {{"setBypass", 0}}},
        {.name = "effect name",
         .opcode = effGetEffectName,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"getEffectName", 0, 0, 0, b}}},
        {.name = "error text", .opcode = effGetErrorText, .ptr = b},
        {.name = "vendor",
         .opcode = effGetVendorString,
         .ptr = b,
         .calls = {{"getVendorString", 0, 0, 0, b}}},
        {.name = "product",
         .opcode = effGetProductString,
         .ptr = b,
         .calls = {{"getProductString", 0, 0, 0, b}}},
        {.name = "vendor version",
         .opcode = effGetVendorVersion,
         .forced = 1000,
         .answer = 1000,
         .calls = {{"getVendorVersion"}}},
        {.name = "vendor specific",
         .opcode = effVendorSpecific,
         .index = 1,
         .value = -2,
         .ptr = b,
         .opt = 0.5f,
         .forced = -3,
         .answer = -3,
         .calls = {{"vendorSpecific", 1, -2, 0, b, 0.5f}}},
        {.name = "vendor specific null ptr passes",
         .opcode = effVendorSpecific,
         .index = 4,
         .calls = {{"vendorSpecific", 4}}},
        {.name = "can do",
         .opcode = effCanDo,
         .ptr = b,
         .forced = -1,
         .answer = -1,
         .calls = {{"canDo", 0, 0, 0, b}}},
        {.name = "tail size",
         .opcode = effGetTailSize,
         .forced = 44,
         .answer = 44,
         .calls = {{"getGetTailSize"}}},
        {.name = "idle", .opcode = effIdle},
        {.name = "icon", .opcode = effGetIcon},
        {.name = "view position", .opcode = effSetViewPosition, .index = 10, .value = 20},
        {.name = "parameter properties",
         .opcode = effGetParameterProperties,
         .index = 7,
         .ptr = b,
         .calls = {{"getParameterProperties", 7, 0, 0, b}}},
        {.name = "keys required", .opcode = effKeysRequired},
        {.name = "vst version",
         .opcode = effGetVstVersion,
         .answer = 2400,
         .calls = {{"getVstVersion"}}},
        {.name = "key down",
         .opcode = effEditKeyDown,
         .index = 65,
         .value = 3,
         .opt = 2.9f,
         .calls = {{"editor.onKeyDown", 65, 3, 2}}},
        {.name = "key down handled",
         .opcode = effEditKeyDown,
         .index = 65,
         .value = 3,
         .opt = 2.9f,
         .forced = 1,
         .answer = 1,
         .calls = {{"editor.onKeyDown", 65, 3, 2}}},
        {.name = "key down low bytes",
         .opcode = effEditKeyDown,
         .index = -7,
         .value = 0x1FF,
         .opt = -1.5f,
         .calls = {{"editor.onKeyDown", -7, 0xFF, 0xFF}}},
        {.name = "key down opt 300.7",
         .opcode = effEditKeyDown,
         .opt = 300.7f,
         .calls = {{"editor.onKeyDown", 0, 0, 300 & 0xFF}}},
        {.name = "key down opt NaN",
         .opcode = effEditKeyDown,
         .value = 1,
         .opt = kNaN,
         .calls = {{"editor.onKeyDown", 0, 1, 0}}},
        {.name = "key down opt -inf",
         .opcode = effEditKeyDown,
         .opt = -kInf,
         .calls = {{"editor.onKeyDown", 0, 0, 0}}},
        {.name = "key down opt 1e20",
         .opcode = effEditKeyDown,
         .opt = 1e20f,
         .calls = {{"editor.onKeyDown", 0, 0, 0}}},
        {.name = "key down no editor",
         .opcode = effEditKeyDown,
         .index = 65,
         .value = 3,
         .opt = 2.9f,
         .withEditor = false},
        {.name = "key up",
         .opcode = effEditKeyUp,
         .index = 66,
         .value = 4,
         .opt = 1.0f,
         .forced = 1,
         .answer = 1,
         .calls = {{"editor.onKeyUp", 66, 4, 1}}},
        {.name = "key up no editor", .opcode = effEditKeyUp, .index = 66, .withEditor = false},
        {.name = "knob mode",
         .opcode = effSetEditKnobMode,
         .value = 2,
         .forced = 1,
         .answer = 1,
         .calls = {{"editor.setKnobMode", 2}}},
        {.name = "knob mode no editor",
         .opcode = effSetEditKnobMode,
         .value = 2,
         .withEditor = false},
        {.name = "midi program name",
         .opcode = effGetMidiProgramName,
         .index = 9,
         .ptr = b,
         .forced = 3,
         .answer = 3,
         .calls = {{"getMidiProgramName", 9, 0, 0, b}}},
        {.name = "current midi program",
         .opcode = effGetCurrentMidiProgram,
         .index = 1,
         .ptr = b,
         .answer = -1,
         .calls = {{"getCurrentMidiProgram", 1, 0, 0, b}}},
        {.name = "midi program category",
         .opcode = effGetMidiProgramCategory,
         .index = 2,
         .ptr = b,
         .calls = {{"getMidiProgramCategory", 2, 0, 0, b}}},
        {.name = "midi programs changed",
         .opcode = effHasMidiProgramsChanged,
         .index = 4,
         .calls = {{"hasMidiProgramsChanged", 4}}},
        {.name = "midi key name",
         .opcode = effGetMidiKeyName,
         .index = 5,
         .ptr = b,
         .forced = 1,
         .answer = 1,
         .calls = {{"getMidiKeyName", 5, 0, 0, b}}},
        {.name = "begin set program", .opcode = effBeginSetProgram, .calls = {{"beginSetProgram"}}},
        {.name = "end set program",
         .opcode = effEndSetProgram,
         .forced = 1,
         .answer = 1,
         .calls = {{"endSetProgram"}}},
        {.name = "get speakers",
         .opcode = effGetSpeakerArrangement,
         .value = address(&gInputSlot),
         .ptr = &gOutputSlot,
         .calls = {{"getSpeakerArrangement", address(&gInputSlot), 0, 0, &gOutputSlot}}},
        {.name = "get speakers null output",
         .opcode = effGetSpeakerArrangement,
         .value = address(&gInputSlot)},
        {.name = "shell plugin",
         .opcode = effShellGetNextPlugin,
         .ptr = b,
         .calls = {{"getNextShellPlugin", 0, 0, 0, b}}},
        {.name = "start", .opcode = effStartProcess, .calls = {{"startProcess"}}},
        {.name = "stop", .opcode = effStopProcess, .calls = {{"stopProcess"}}},
        {.name = "total samples 512",
         .opcode = effSetTotalSampleToProcess,
         .value = 512,
         .answer = 512,
         .calls = {{"setTotalSampleToProcess", 512}}},
        {.name = "pan law",
         .opcode = effSetPanLaw,
         .value = 1,
         .opt = 0.7f,
         .calls = {{"setPanLaw", 1, 0, 0, nullptr, 0.7f}}},
        {.name = "load bank",
         .opcode = effBeginLoadBank,
         .ptr = b,
         .forced = -1,
         .answer = -1,
         .calls = {{"beginLoadBank", 0, 0, 0, b}}},
        {.name = "load program",
         .opcode = effBeginLoadProgram,
         .ptr = b,
         .calls = {{"beginLoadProgram", 0, 0, 0, b}}},
        {.name = "precision",
         .opcode = effSetProcessPrecision,
         .value = 1,
         .calls = {{"setProcessPrecision", 1}}},
        {.name = "midi inputs",
         .opcode = effGetNumMidiInputChannels,
         .forced = 16,
         .answer = 16,
         .calls = {{"getNumMidiInputChannels"}}},
        {.name = "midi outputs",
         .opcode = effGetNumMidiOutputChannels,
         .calls = {{"getNumMidiOutputChannels"}}},
    };
}

#if INTPTR_MAX > INT32_MAX
// Only a 64-bit value can carry more than 32 bits to narrow.
std::vector<DispatchCase> wideValueCases() {
    const VstIntPtr high = VstIntPtr{1} << 32;
    return {
        {.name = "total samples keep the low 32 bits",
         .opcode = effSetTotalSampleToProcess,
         .value = high + 7,
         .answer = 7,
         .calls = {{"setTotalSampleToProcess", 7}}},
        {.name = "block size beyond int32 ignored", .opcode = effSetBlockSize, .value = high + 512},
        {.name = "program 2^32 ignored", .opcode = effSetProgram, .value = high},
        {.name = "mains on 2^32", .opcode = effMainsChanged, .value = high, .calls = {{"resume"}}},
        {.name = "key virt low byte",
         .opcode = effEditKeyDown,
         .value = high + 0x141,
         .calls = {{"editor.onKeyDown", 0, 0x41, 0}}},
        {.name = "offline count beyond int32 ignored",
         .opcode = effOfflineRun,
         .value = high,
         .ptr = gBuffer},
    };
}
#else
std::vector<DispatchCase> wideValueCases() {
    return {};
}
#endif

void runCases(const std::vector<DispatchCase>& cases) {
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeJournal journal;
        ProbeEffect effect(journal);
        if (c.withEditor) {
            new ProbeEditor(effect, journal); // owned by the effect
        }
        journal.forcedAnswer = c.forced;
        AudioEffect& base = effect;
        EXPECT_EQ(base.dispatcher(c.opcode, c.index, c.value, c.ptr, c.opt), c.answer);
        EXPECT_EQ(journal.calls, c.calls);
        journal.calls.clear();
    }
}

TEST(Dispatcher, BaseLayer) {
    runCases(baseLayerCases());
}

TEST(Dispatcher, ExtensionLayer) {
    runCases(extensionLayerCases());
}

TEST(Dispatcher, WideValuesAreNarrowedOrRefused) {
    runCases(wideValueCases());
}

TEST(Dispatcher, ProgramOutsideTheBankKeepsTheCurrentOne) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    effect.dispatcher(effSetProgram, 0, 7, nullptr, 0.0f);
    EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 7);
    effect.dispatcher(effSetProgram, 0, 8, nullptr, 0.0f);
    effect.dispatcher(effSetProgram, 0, -1, nullptr, 0.0f);
    EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 7);
}

TEST(Dispatcher, SpeakerArrangementQueryClearsBothPointers) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, address(&input), &output, 0.0f), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST(Dispatcher, SampleRateAndBlockSizeReachTheEffect) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    effect.dispatcher(effSetBlockSize, 0, 64, nullptr, 0.0f);
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, kNaN);
    effect.dispatcher(effSetBlockSize, 0, -64, nullptr, 0.0f);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
}

} // namespace
