// The base behaviour an effect class inherits for the operations it does not
// override: what each answers, and which texts it writes or leaves alone.
#include "host/audio_effect_x.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {

class PlainEffect : public AudioEffectX {
public:
    PlainEffect() : AudioEffectX(nullptr, 8, 38) {}
    void processReplacing(float**, float**, VstInt32) override {}
};

const void* const kSomething = &kSomething;

template <typename T>
T* something() {
    return static_cast<T*>(const_cast<void*>(kSomething));
}

struct AnswerCase {
    const char* name;
    std::function<double(PlainEffect&)> call;
    double answer;
};

std::vector<AnswerCase> answerCases() {
    return {
        {"getParameter", [](PlainEffect& e) { return e.getParameter(3); }, 0.0},
        {"getVu", [](PlainEffect& e) { return e.getVu(); }, 0.0},
        {"getChunk", [](PlainEffect& e) { return e.getChunk(something<void*>(), true); }, 0},
        {"setChunk", [](PlainEffect& e) { return e.setChunk(something<void>(), 4, false); }, 0},
        {"canParameterBeAutomated beyond the parameters",
         [](PlainEffect& e) { return e.canParameterBeAutomated(1000); }, 1},
        {"string2parameter",
         [](PlainEffect& e) { return e.string2parameter(0, something<char>()); }, 0},
        {"getParameterProperties",
         [](PlainEffect& e) {
             return e.getParameterProperties(0, something<VstParameterProperties>());
         },
         0},
        {"beginSetProgram", [](PlainEffect& e) { return e.beginSetProgram(); }, 0},
        {"endSetProgram", [](PlainEffect& e) { return e.endSetProgram(); }, 0},
        {"beginLoadBank",
         [](PlainEffect& e) { return e.beginLoadBank(something<VstPatchChunkInfo>()); }, 0},
        {"beginLoadProgram",
         [](PlainEffect& e) { return e.beginLoadProgram(something<VstPatchChunkInfo>()); }, 0},
        {"getInputProperties",
         [](PlainEffect& e) { return e.getInputProperties(0, something<VstPinProperties>()); }, 0},
        {"getOutputProperties",
         [](PlainEffect& e) { return e.getOutputProperties(0, something<VstPinProperties>()); }, 0},
        {"setSpeakerArrangement",
         [](PlainEffect& e) {
             return e.setSpeakerArrangement(something<VstSpeakerArrangement>(),
                                            something<VstSpeakerArrangement>());
         },
         0},
        {"setBypass", [](PlainEffect& e) { return e.setBypass(true); }, 0},
        {"setPanLaw", [](PlainEffect& e) { return e.setPanLaw(1, 0.7f); }, 0},
        {"setProcessPrecision", [](PlainEffect& e) { return e.setProcessPrecision(1); }, 0},
        {"getNumMidiInputChannels", [](PlainEffect& e) { return e.getNumMidiInputChannels(); }, 0},
        {"getNumMidiOutputChannels", [](PlainEffect& e) { return e.getNumMidiOutputChannels(); },
         0},
        {"processEvents", [](PlainEffect& e) { return e.processEvents(something<VstEvents>()); },
         0},
        {"startProcess", [](PlainEffect& e) { return e.startProcess(); }, 0},
        {"stopProcess", [](PlainEffect& e) { return e.stopProcess(); }, 0},
        {"processVariableIo",
         [](PlainEffect& e) { return e.processVariableIo(something<VstVariableIo>()); }, 0},
        {"setTotalSampleToProcess 512",
         [](PlainEffect& e) { return e.setTotalSampleToProcess(512); }, 512},
        {"getGetTailSize", [](PlainEffect& e) { return e.getGetTailSize(); }, 0},
        {"vendorSpecific",
         [](PlainEffect& e) { return e.vendorSpecific(1, 2, something<void>(), 3.0f); }, 0},
        {"getVstVersion", [](PlainEffect& e) { return e.getVstVersion(); }, 2400},
        {"getPlugCategory", [](PlainEffect& e) { return e.getPlugCategory(); }, 0},
        {"getPlugCategory of a synth",
         [](PlainEffect& e) {
             e.isSynth(true);
             return e.getPlugCategory();
         },
         2},
        {"getMidiProgramName",
         [](PlainEffect& e) { return e.getMidiProgramName(0, something<MidiProgramName>()); }, 0},
        {"getCurrentMidiProgram",
         [](PlainEffect& e) { return e.getCurrentMidiProgram(0, something<MidiProgramName>()); },
         -1},
        {"getMidiProgramCategory",
         [](PlainEffect& e) {
             return e.getMidiProgramCategory(0, something<MidiProgramCategory>());
         },
         0},
        {"hasMidiProgramsChanged", [](PlainEffect& e) { return e.hasMidiProgramsChanged(0); }, 0},
        {"getMidiKeyName",
         [](PlainEffect& e) { return e.getMidiKeyName(0, something<MidiKeyName>()); }, 0},
        {"getNextShellPlugin",
         [](PlainEffect& e) { return e.getNextShellPlugin(something<char>()); }, 0},
        {"offlineNotify",
         [](PlainEffect& e) { return e.offlineNotify(something<VstAudioFile>(), 1, true); }, 0},
        {"offlinePrepare",
         [](PlainEffect& e) { return e.offlinePrepare(something<VstOfflineTask>(), 1); }, 0},
        {"offlineRun", [](PlainEffect& e) { return e.offlineRun(something<VstOfflineTask>(), 1); },
         0},
        {"offlineGetNumPasses", [](PlainEffect& e) { return e.offlineGetNumPasses(); }, 0},
        {"offlineGetNumMetaPasses", [](PlainEffect& e) { return e.offlineGetNumMetaPasses(); }, 0},
        {"getNumCategories", [](PlainEffect& e) { return e.getNumCategories(); }, 1},
        {"copyProgram", [](PlainEffect& e) { return e.copyProgram(1); }, 0},
        {"reportCurrentPosition", [](PlainEffect& e) { return e.reportCurrentPosition(); }, 0},
        {"reportDestinationBuffer is null",
         [](PlainEffect& e) { return e.reportDestinationBuffer() == nullptr; }, 1},
        {"getIcon is null", [](PlainEffect& e) { return e.getIcon() == nullptr; }, 1},
        {"setViewPosition", [](PlainEffect& e) { return e.setViewPosition(10, 20); }, 0},
        {"fxIdle", [](PlainEffect& e) { return e.fxIdle(); }, 0},
        {"keysRequired", [](PlainEffect& e) { return e.keysRequired(); }, 0},
        {"getEffectName", [](PlainEffect& e) { return e.getEffectName(something<char>()); }, 0},
        {"getVendorVersion", [](PlainEffect& e) { return e.getVendorVersion(); }, 0},
        {"canDo", [](PlainEffect& e) { return e.canDo(something<char>()); }, 0},
    };
}

TEST(BaseBehaviour, Answers) {
    for (const AnswerCase& c : answerCases()) {
        SCOPED_TRACE(c.name);
        PlainEffect effect;
        EXPECT_EQ(c.call(effect), c.answer);
    }
}

struct TextCase {
    const char* name;
    std::function<void(PlainEffect&, char*)> call;
    bool writesEmptyText;
};

TEST(BaseBehaviour, TextsAreEmptiedOrLeftUntouched) {
    const std::vector<TextCase> cases = {
        {"getProgramName", [](PlainEffect& e, char* t) { e.getProgramName(t); }, true},
        {"getParameterLabel", [](PlainEffect& e, char* t) { e.getParameterLabel(1, t); }, true},
        {"getParameterDisplay", [](PlainEffect& e, char* t) { e.getParameterDisplay(1, t); }, true},
        {"getParameterName", [](PlainEffect& e, char* t) { e.getParameterName(1, t); }, true},
        {"getProgramNameIndexed", [](PlainEffect& e, char* t) { e.getProgramNameIndexed(0, 1, t); },
         false},
        {"getErrorText", [](PlainEffect& e, char* t) { e.getErrorText(t); }, false},
        {"setProgramName", [](PlainEffect& e, char* t) { e.setProgramName(t); }, false},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlainEffect effect;
        std::array<char, 4> text{'a', 'b', 'c', '\0'};
        c.call(effect, text.data());
        const std::array<char, 4> expected = c.writesEmptyText
                                                 ? std::array<char, 4>{'\0', 'b', 'c', '\0'}
                                                 : std::array<char, 4>{'a', 'b', 'c', '\0'};
        EXPECT_EQ(text, expected);
        c.call(effect, nullptr); // a null text is left alone
    }
}

TEST(BaseBehaviour, ProgramNumberIsStored) {
    PlainEffect effect;
    effect.setProgram(6);
    EXPECT_EQ(effect.getProgram(), 6);
}

} // namespace
