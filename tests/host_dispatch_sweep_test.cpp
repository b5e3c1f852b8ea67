// Every opcode from -1000 to 1000 with hostile arguments, with and without an
// editor: the dispatcher must never crash or misbehave (the sanitizer build
// checks memory and undefined behaviour), unknown and deprecated opcodes
// answer 0 without calling anything, and so do opcodes whose pointer is null
// or whose editor is missing.
#include "tests/host_probe_effect.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <sstream>

namespace {

// Opcodes that read or write through ptr and must not reach anything with a
// null one.
const std::set<VstInt32> kNeedsPtr = {
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effEditGetRect,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effString2Parameter,
    effGetProgramNameIndexed,
    effGetInputProperties,
    effGetOutputProperties,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effGetEffectName,
    effGetVendorString,
    effGetProductString,
    effGetParameterProperties,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effGetMidiKeyName,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,
    effBeginLoadBank,
    effBeginLoadProgram,
};

const std::set<VstInt32> kEditorOpcodes = {effEditGetRect,    effEditOpen,    effEditClose,
                                           effEditIdle,       effEditKeyDown, effEditKeyUp,
                                           effSetEditKnobMode};

const std::set<VstInt32> kDeprecatedSilent = {9,  16, 17, 18, 20, 21, 28, 30, 31,
                                              32, 36, 37, 43, 46, 53, 54, 55, 57};

// Opcodes whose value carries a pointer: a host can only hand those a real
// address or null, so the sweep does the same.
bool valueIsPointer(VstInt32 opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

// A large host buffer, zeroed before the sweep.
constexpr std::size_t kBufferSize = 64 * 1024;
alignas(64) unsigned char gBuffer[kBufferSize];

TEST(DispatcherSweep, EveryOpcodeWithHostileArguments) {
    std::fill_n(gBuffer, kBufferSize, 0);

    const VstInt32 indices[] = {0, 1, -1, INT32_MIN, INT32_MAX};
    const VstIntPtr values[] = {0, 1, -1, 7, INTPTR_MIN, INTPTR_MAX};
    const VstIntPtr pointerValues[] = {0, reinterpret_cast<VstIntPtr>(gBuffer)};
    const float opts[] = {0.0f,
                          2.9f,
                          -1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};
    void* const pointers[] = {nullptr, gBuffer};

    std::vector<std::string> faults;
    auto fault = [&](VstInt32 opcode, VstInt32 index, VstIntPtr value, const void* ptr,
                     bool withEditor, const char* what) {
        if (faults.size() < 20) {
            std::ostringstream text;
            text << what << ": opcode " << opcode << " index " << index << " value " << value
                 << " ptr " << ptr << " editor " << withEditor;
            faults.push_back(text.str());
        }
    };

    for (bool withEditor : {false, true}) {
        ProbeJournal journal;
        ProbeEffect effect(journal);
        if (withEditor) {
            new ProbeEditor(effect, journal); // owned by the effect
        }
        AudioEffect& base = effect;
        for (VstInt32 opcode = -1000; opcode <= 1000; ++opcode) {
            const bool known = opcode >= 0 && opcode <= 79;
            for (VstInt32 index : indices) {
                for (VstIntPtr value :
                     valueIsPointer(opcode)
                         ? std::vector<VstIntPtr>(std::begin(pointerValues),
                                                  std::end(pointerValues))
                         : std::vector<VstIntPtr>(std::begin(values), std::end(values))) {
                    for (float opt : opts) {
                        for (void* ptr : pointers) {
                            journal.calls.clear();
                            const VstIntPtr answer =
                                base.dispatcher(opcode, index, value, ptr, opt);
                            const bool silent = journal.calls.empty();
                            const bool mustBeSilent =
                                !known || kDeprecatedSilent.count(opcode) != 0 ||
                                opcode == effIdentify ||
                                (ptr == nullptr && kNeedsPtr.count(opcode) != 0) ||
                                (!withEditor && kEditorOpcodes.count(opcode) != 0);
                            if (mustBeSilent && !silent) {
                                fault(opcode, index, value, ptr, withEditor, "called something");
                            }
                            const VstIntPtr expected = opcode == effIdentify ? 0x4E764566 : 0;
                            if (mustBeSilent && answer != expected) {
                                fault(opcode, index, value, ptr, withEditor, "answered");
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first: " << faults.front();
    EXPECT_TRUE(std::all_of(gBuffer, gBuffer + kBufferSize, [](unsigned char byte) {
        return byte == 0;
    })) << "the base operations only ever write zeros into a host buffer";
}

} // namespace
