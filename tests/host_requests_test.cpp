// The host requests: the exact request each wrapper sends, how it maps the
// host's answer, and what it returns without a host callback.
#include "tests/host_fake_host.h"
#include "tests/host_probe_effect.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

char gText[64];
int gObject;
void* const kObject = &gObject;

VstIntPtr address(const void* pointer) {
    return reinterpret_cast<VstIntPtr>(pointer);
}

struct RequestCase {
    const char* name;
    std::function<VstIntPtr(ProbeEffect&)> call; // the wrapper's result, widened
    VstIntPtr hostAnswer;
    std::optional<HostRequest> request; // without effect; nullopt: nothing is sent
    VstIntPtr result;
    VstIntPtr resultWithoutHost;
};

HostRequest sent(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                 float opt = 0.0f) {
    return {nullptr, opcode, index, value, ptr, opt};
}

std::vector<RequestCase> requestCases() {
    auto* files = static_cast<VstAudioFile*>(kObject);
    auto* task = static_cast<VstOfflineTask*>(kObject);
    auto* selector = static_cast<VstFileSelect*>(kObject);
    return {
        {"master version 2400", [](ProbeEffect& e) { return e.getMasterVersion(); }, 2400,
         sent(audioMasterVersion), 2400, 1},
        {"master version 0 counts as 1", [](ProbeEffect& e) { return e.getMasterVersion(); }, 0,
         sent(audioMasterVersion), 1, 1},
        {"current unique id", [](ProbeEffect& e) { return e.getCurrentUniqueId(); }, 0x746B3637,
         sent(audioMasterCurrentId), 0x746B3637, 0},
        {"master idle",
         [](ProbeEffect& e) {
             e.masterIdle();
             return VstIntPtr{0};
         },
         1, sent(audioMasterIdle), 0, 0},
        {"input connected when host answers 0",
         [](ProbeEffect& e) { return VstIntPtr{e.isInputConnected(3)}; }, 0,
         sent(audioMasterPinConnected, 3, 0), 1, 1},
        {"input not connected when host answers 1",
         [](ProbeEffect& e) { return VstIntPtr{e.isInputConnected(3)}; }, 1,
         sent(audioMasterPinConnected, 3, 0), 0, 1},
        {"output pin", [](ProbeEffect& e) { return VstIntPtr{e.isOutputConnected(1)}; }, 0,
         sent(audioMasterPinConnected, 1, 1), 1, 1},
        {"want events",
         [](ProbeEffect& e) {
             e.wantEvents(1);
             return VstIntPtr{0};
         },
         1, sent(audioMasterWantMidi, 0, 1), 0, 0},
        {"time info", [](ProbeEffect& e) { return address(e.getTimeInfo(0x600)); },
         address(kObject), sent(audioMasterGetTime, 0, 0x600), address(kObject), 0},
        {"time info null", [](ProbeEffect& e) { return address(e.getTimeInfo(0x600)); }, 0,
         sent(audioMasterGetTime, 0, 0x600), 0, 0},
        {"tempo at", [](ProbeEffect& e) { return e.tempoAt(4410); }, 1200000,
         sent(audioMasterTempoAt, 0, 4410), 1200000, 0},
        {"automatable parameters", [](ProbeEffect& e) { return e.getNumAutomatableParameters(); },
         38, sent(audioMasterGetNumAutomatableParameters), 38, 0},
        {"parameter quantization", [](ProbeEffect& e) { return e.getParameterQuantization(); }, 100,
         sent(audioMasterGetParameterQuantization), 100, 0},
        {"io changed", [](ProbeEffect& e) { return VstIntPtr{e.ioChanged()}; }, 2,
         sent(audioMasterIOChanged), 1, 0},
        {"need idle", [](ProbeEffect& e) { return VstIntPtr{e.needIdle()}; }, -1,
         sent(audioMasterNeedIdle), 1, 0},
        {"size window", [](ProbeEffect& e) { return VstIntPtr{e.sizeWindow(440, 210)}; }, 1,
         sent(audioMasterSizeWindow, 440, 210), 1, 0},
        {"input latency", [](ProbeEffect& e) { return e.getInputLatency(); }, 64,
         sent(audioMasterGetInputLatency), 64, 0},
        {"output latency", [](ProbeEffect& e) { return e.getOutputLatency(); }, 128,
         sent(audioMasterGetOutputLatency), 128, 0},
        {"previous plug sends index 0",
         [](ProbeEffect& e) { return address(e.getPreviousPlug(3)); }, address(kObject),
         sent(audioMasterGetPreviousPlug), address(kObject), 0},
        {"next plug sends index 0", [](ProbeEffect& e) { return address(e.getNextPlug(2)); },
         address(kObject), sent(audioMasterGetNextPlug), address(kObject), 0},
        {"will process replacing", [](ProbeEffect& e) { return e.willProcessReplacing(); }, 1,
         sent(audioMasterWillReplaceOrAccumulate), 1, 0},
        {"process level", [](ProbeEffect& e) { return e.getCurrentProcessLevel(); }, 2,
         sent(audioMasterGetCurrentProcessLevel), 2, 0},
        {"automation state", [](ProbeEffect& e) { return e.getAutomationState(); }, 3,
         sent(audioMasterGetAutomationState), 3, 0},
        {"offline start", [=](ProbeEffect& e) { return VstIntPtr{e.offlineStart(files, 4, 2)}; }, 1,
         sent(audioMasterOfflineStart, 2, 4, kObject), 1, 0},
        {"offline read source",
         [=](ProbeEffect& e) { return VstIntPtr{e.offlineRead(task, 5, true)}; }, 1,
         sent(audioMasterOfflineRead, 1, 5, kObject), 1, 0},
        {"offline read destination",
         [=](ProbeEffect& e) { return VstIntPtr{e.offlineRead(task, 5, false)}; }, 0,
         sent(audioMasterOfflineRead, 0, 5, kObject), 0, 0},
        {"offline write", [=](ProbeEffect& e) { return VstIntPtr{e.offlineWrite(task, 6)}; }, 1,
         sent(audioMasterOfflineWrite, 0, 6, kObject), 1, 0},
        {"offline pass", [](ProbeEffect& e) { return e.offlineGetCurrentPass(); }, 5,
         sent(audioMasterOfflineGetCurrentPass), 1, 0},
        {"offline meta pass", [](ProbeEffect& e) { return e.offlineGetCurrentMetaPass(); }, -9,
         sent(audioMasterOfflineGetCurrentMetaPass), 1, 0},
        {"output sample rate",
         [](ProbeEffect& e) {
             e.setOutputSamplerate(22050.0f);
             return VstIntPtr{0};
         },
         0, sent(audioMasterSetOutputSampleRate, 0, 0, nullptr, 22050.0f), 0, 0},
        {"output arrangement",
         [](ProbeEffect& e) { return address(e.getOutputSpeakerArrangement()); }, address(kObject),
         sent(audioMasterGetOutputSpeakerArrangement), address(kObject), 0},
        {"input arrangement",
         [](ProbeEffect& e) { return address(e.getInputSpeakerArrangement()); }, address(kObject),
         sent(audioMasterGetInputSpeakerArrangement), address(kObject), 0},
        {"vendor string", [](ProbeEffect& e) { return VstIntPtr{e.getHostVendorString(gText)}; }, 1,
         sent(audioMasterGetVendorString, 0, 0, gText), 1, 0},
        {"vendor string null text not sent",
         [](ProbeEffect& e) { return VstIntPtr{e.getHostVendorString(nullptr)}; }, 1, std::nullopt,
         0, 0},
        {"product string", [](ProbeEffect& e) { return VstIntPtr{e.getHostProductString(gText)}; },
         0, sent(audioMasterGetProductString, 0, 0, gText), 0, 0},
        {"host vendor version", [](ProbeEffect& e) { return e.getHostVendorVersion(); }, 1234,
         sent(audioMasterGetVendorVersion), 1234, 0},
        {"host vendor specific",
         [](ProbeEffect& e) { return e.hostVendorSpecific(7, -8, kObject, 0.5f); }, -99,
         sent(audioMasterVendorSpecific, 7, -8, kObject, 0.5f), -99, 0},
        {"can host do -1 counts as 1", [](ProbeEffect& e) { return e.canHostDo(gText); }, -1,
         sent(audioMasterCanDo, 0, 0, gText), 1, 0},
        {"can host do 0", [](ProbeEffect& e) { return e.canHostDo(gText); }, 0,
         sent(audioMasterCanDo, 0, 0, gText), 0, 0},
        {"can host do null text not sent", [](ProbeEffect& e) { return e.canHostDo(nullptr); }, 1,
         std::nullopt, 0, 0},
        {"host language", [](ProbeEffect& e) { return e.getHostLanguage(); }, 2,
         sent(audioMasterGetLanguage), 2, 0},
        {"open window", [](ProbeEffect& e) { return address(e.openWindow(kObject)); },
         address(gText), sent(audioMasterOpenWindow, 0, 0, kObject), address(gText), 0},
        {"close window", [](ProbeEffect& e) { return VstIntPtr{e.closeWindow(kObject)}; }, 1,
         sent(audioMasterCloseWindow, 0, 0, kObject), 1, 0},
        {"directory", [](ProbeEffect& e) { return address(e.getDirectory()); }, address(gText),
         sent(audioMasterGetDirectory), address(gText), 0},
        {"update display", [](ProbeEffect& e) { return VstIntPtr{e.updateDisplay()}; }, 1,
         sent(audioMasterUpdateDisplay), 1, 0},
        {"begin edit", [](ProbeEffect& e) { return VstIntPtr{e.beginEdit(12)}; }, 1,
         sent(audioMasterBeginEdit, 12), 1, 0},
        {"end edit", [](ProbeEffect& e) { return VstIntPtr{e.endEdit(12)}; }, 0,
         sent(audioMasterEndEdit, 12), 0, 0},
        {"open file selector",
         [=](ProbeEffect& e) { return VstIntPtr{e.openFileSelector(selector)}; }, 1,
         sent(audioMasterOpenFileSelector, 0, 0, kObject), 1, 0},
        {"open file selector null not sent",
         [](ProbeEffect& e) { return VstIntPtr{e.openFileSelector(nullptr)}; }, 1, std::nullopt, 0,
         0},
        {"close file selector",
         [=](ProbeEffect& e) { return VstIntPtr{e.closeFileSelector(selector)}; }, 1,
         sent(audioMasterCloseFileSelector, 0, 0, kObject), 1, 0},
        {"close file selector null not sent",
         [](ProbeEffect& e) { return VstIntPtr{e.closeFileSelector(nullptr)}; }, 1, std::nullopt, 0,
         0},
        {"chunk file", [](ProbeEffect& e) { return VstIntPtr{e.getChunkFile(gText)}; }, 1,
         sent(audioMasterGetChunkFile, 0, 0, gText), 1, 0},
        {"chunk file null not sent",
         [](ProbeEffect& e) { return VstIntPtr{e.getChunkFile(nullptr)}; }, 1, std::nullopt, 0, 0},
    };
}

TEST(HostRequests, ExactRequestsAndResults) {
    for (const RequestCase& c : requestCases()) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        host.answer = c.hostAnswer;
        ProbeJournal journal;
        ProbeEffect effect(journal, &FakeHost::callback);
        EXPECT_EQ(c.call(effect), c.result);
        if (c.request) {
            HostRequest expected = *c.request;
            expected.effect = effect.getAeffect();
            ASSERT_EQ(host.requests.size(), 1u);
            EXPECT_EQ(host.requests[0], expected);
        } else {
            EXPECT_TRUE(host.requests.empty());
        }
    }
}

TEST(HostRequests, FixedResultsWithoutAHost) {
    for (const RequestCase& c : requestCases()) {
        SCOPED_TRACE(c.name);
        ProbeJournal journal;
        ProbeEffect effect(journal, nullptr);
        EXPECT_EQ(c.call(effect), c.resultWithoutHost);
    }
}

TEST(HostRequests, SetParameterAutomatedSetsThenReports) {
    FakeHost host;
    ProbeJournal journal;
    ProbeEffect effect(journal, &FakeHost::callback);
    effect.setParameterAutomated(5, 0.25f);
    const std::vector<ProbeCall> calls = {{"setParameter", 5, 0, 0, nullptr, 0.25f}};
    EXPECT_EQ(journal.calls, calls);
    const std::vector<HostRequest> requests = {
        {effect.getAeffect(), audioMasterAutomate, 5, 0, nullptr, 0.25f}};
    EXPECT_EQ(host.requests, requests);
}

TEST(HostRequests, SetParameterAutomatedWithoutAHostStillSets) {
    ProbeJournal journal;
    ProbeEffect effect(journal, nullptr);
    effect.setParameterAutomated(37, 0.5f);
    const std::vector<ProbeCall> calls = {{"setParameter", 37, 0, 0, nullptr, 0.5f}};
    EXPECT_EQ(journal.calls, calls);
}

struct SizeAnswerCase {
    VstIntPtr answer;
    float sampleRate; // stored and returned afterwards
    VstInt32 blockSize;
};

TEST(HostRequests, SampleRateAndBlockSizeKeepOnlyUsableAnswers) {
    const std::vector<SizeAnswerCase> cases = {
        {48000, 48000.0f, 48000},
        {0, 44100.0f, 1024},
        {-1, 44100.0f, 1024},
        {INTPTR_MIN, 44100.0f, 1024},
        {96001, 96001.0f, 96001},
#if INTPTR_MAX > INT32_MAX
        // Too large for the int32 block size: the block size stays.
        {VstIntPtr{1} << 40, static_cast<float>(VstIntPtr{1} << 40), 1024},
#endif
    };
    for (const SizeAnswerCase& c : cases) {
        SCOPED_TRACE(c.answer);
        FakeHost host;
        host.answer = c.answer;
        ProbeJournal journal;
        ProbeEffect effect(journal, &FakeHost::callback);
        EXPECT_EQ(effect.updateSampleRate(), c.sampleRate);
        EXPECT_EQ(effect.getSampleRate(), c.sampleRate);
        EXPECT_EQ(effect.updateBlockSize(), c.blockSize);
        EXPECT_EQ(effect.getBlockSize(), c.blockSize);
        const std::vector<HostRequest> requests = {
            {effect.getAeffect(), audioMasterGetSampleRate, 0, 0, nullptr, 0.0f},
            {effect.getAeffect(), audioMasterGetBlockSize, 0, 0, nullptr, 0.0f}};
        EXPECT_EQ(host.requests, requests);
        EXPECT_TRUE(journal.calls.empty()) << "stored directly, not through setSampleRate";
    }
}

TEST(HostRequests, SampleRateWithoutAHostKeepsTheLastValue) {
    ProbeJournal journal;
    ProbeEffect effect(journal, nullptr);
    effect.setBlockSizeAndSampleRate(256, 22050.0f);
    EXPECT_EQ(effect.updateSampleRate(), 22050.0f);
    EXPECT_EQ(effect.updateBlockSize(), 256);
}

} // namespace
