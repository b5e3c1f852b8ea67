// A minimal VST 2.4 plug-in for the hosting tests. It exports only
// VSTPluginMain, sends known requests while it is being created, forwards
// requests a test hands it, and fills every output sample with the song
// position the host reports (-1 without a time record).
#include "tests/hosting_test_module.h"

#include "host/vst_abi.h"

#include <atomic>
#include <cstring>

#if defined(_WIN32)
#define TEST_MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define TEST_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::atomic<int> liveInstances{0};

struct TestEffect {
    AEffect record{};
    audioMasterCallback master = nullptr;
    std::atomic<float> parameter{0.0f};
};

TestEffect* self(AEffect* effect) {
    return static_cast<TestEffect*>(effect->object);
}

VstIntPtr dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                     void* ptr, float /*opt*/) {
    TestEffect* test = self(effect);
    switch (opcode) {
    case effClose:
        delete test;
        liveInstances.fetch_sub(1);
        return 1;
    case effGetEffectName:
        std::strcpy(static_cast<char*>(ptr), "Hosting Test");
        return 1;
    case effGetParamLabel:
        std::strcpy(static_cast<char*>(ptr), kTestModuleLongLabel);
        return 0;
    case effVendorSpecific: {
        const auto* request = static_cast<const TestModuleRequest*>(ptr);
        return test->master(request->withoutRecord ? nullptr : effect, request->opcode,
                            request->index, request->value, request->ptr, request->opt);
    }
    default:
        return 0;
    }
}

void processReplacing(AEffect* effect, float** /*inputs*/, float** outputs, VstInt32 frames) {
    const VstIntPtr answer = self(effect)->master(effect, audioMasterGetTime, 0,
                                                  kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(answer);
    const float position = time != nullptr ? static_cast<float>(time->ppqPos) : -1.0f;
    for (int channel = 0; channel < 2; ++channel) {
        for (VstInt32 i = 0; i < frames; ++i) {
            outputs[channel][i] = position;
        }
    }
}

void setParameter(AEffect* effect, VstInt32 /*index*/, float value) {
    self(effect)->parameter.store(value, std::memory_order_relaxed);
}

float getParameter(AEffect* effect, VstInt32 /*index*/) {
    return self(effect)->parameter.load(std::memory_order_relaxed);
}

} // namespace

TEST_MODULE_EXPORT int hostingTestLiveInstances() {
    return liveInstances.load();
}

TEST_MODULE_EXPORT AEffect* VSTPluginMain(audioMasterCallback master) {
    if (master == nullptr || master(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    auto* test = new TestEffect;
    liveInstances.fetch_add(1);
    test->master = master;
    AEffect& record = test->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = processReplacing;
    record.numPrograms = 1;
    record.numParams = 1;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing;
    record.object = test;
    record.uniqueID = kTestModuleUniqueId;
    record.version = 1;
    // Requests through the record before the host could mark it as its own.
    char capability[] = "sizeWindow";
    master(&record, audioMasterCanDo, 0, 0, capability, 0.0f);
    master(&record, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
    return &record;
}
