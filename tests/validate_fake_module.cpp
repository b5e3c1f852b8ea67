// A tiny stereo VST 2.4 plug-in for the validator's own tests: it passes audio
// through, and one fault chosen at build time shows inside processReplacing:
//   FAKE_ALLOCATES  allocates and frees a block on every call
//   FAKE_LOCKS      locks and unlocks a mutex (Windows: a critical section)
//                   on every call
//   FAKE_NAN        writes a NaN into the output now and then
//   FAKE_CRASHES    dies of a segmentation fault (Windows: access violation)
#include "host/vst_abi.h"

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

AEffect effect;
float parameters[2] = {0.5f, 0.5f};
int calls = 0;
#if defined(FAKE_LOCKS) && defined(_WIN32)
CRITICAL_SECTION section;
#elif defined(FAKE_LOCKS)
pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
#endif
#if defined(FAKE_ALLOCATES)
void* volatile kept = nullptr; // keeps the allocation from being optimised away
#endif

void copyText(void* ptr, const char* text, std::size_t limit) {
    if (ptr != nullptr) {
        std::strncpy(static_cast<char*>(ptr), text, limit);
        static_cast<char*>(ptr)[limit] = 0;
    }
}

VstIntPtr VSTCALLBACK dispatch(AEffect* /*e*/, VstInt32 opcode, VstInt32 index, VstIntPtr /*value*/,
                               void* ptr, float /*opt*/) {
    const bool inTable = index >= 0 && index < 2;
    switch (opcode) {
    case effGetParamName:
        if (inTable) {
            copyText(ptr, index == 0 ? "Gain" : "Tone", kVstMaxParamStrLen);
        }
        return 0;
    case effGetParamLabel:
        if (inTable) {
            copyText(ptr, "", kVstMaxParamStrLen);
        }
        return 0;
    case effGetParamDisplay:
        if (inTable) {
            copyText(ptr, parameters[index] < 0.5f ? "low" : "high", kVstMaxParamStrLen);
        }
        return 0;
    case effGetEffectName:
        copyText(ptr, "Fake", kVstMaxEffectNameLen);
        return 1;
    case effGetVendorString:
        copyText(ptr, "Validator tests", kVstMaxVendorStrLen);
        return 1;
    case effGetProductString:
        copyText(ptr, "Fake", kVstMaxProductStrLen);
        return 1;
    case effGetVstVersion:
        return kVstVersion;
    case effGetPlugCategory:
        return kPlugCategEffect;
    case effCanDo:
        return -1;
    case effClose:
        return 1;
    default:
        return 0;
    }
}

void VSTCALLBACK setParameter(AEffect* /*e*/, VstInt32 index, float value) {
    if (index >= 0 && index < 2 && value >= 0.0f && value <= 1.0f) {
        parameters[index] = value;
    }
}

float VSTCALLBACK getParameter(AEffect* /*e*/, VstInt32 index) {
    return index >= 0 && index < 2 ? parameters[index] : 0.0f;
}

void VSTCALLBACK processReplacing(AEffect* /*e*/, float** inputs, float** outputs,
                                  VstInt32 frames) {
#if defined(FAKE_ALLOCATES)
    kept = std::malloc(64);
    std::free(kept);
#elif defined(FAKE_LOCKS) && defined(_WIN32)
    EnterCriticalSection(&section);
    LeaveCriticalSection(&section);
#elif defined(FAKE_LOCKS)
    pthread_mutex_lock(&mutex);
    pthread_mutex_unlock(&mutex);
#elif defined(FAKE_CRASHES) && defined(_WIN32)
    // raise() would only end the process with status 3: a real access
    // violation shows how the validator reports an exception.
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
#elif defined(FAKE_CRASHES)
    std::raise(SIGSEGV);
#endif
    ++calls;
    for (int channel = 0; channel < 2; ++channel) {
        for (VstInt32 frame = 0; frame < frames; ++frame) {
            outputs[channel][frame] = inputs[channel][frame] * parameters[0];
        }
    }
#if defined(FAKE_NAN)
    if (frames > 0 && calls % 7 == 0) {
        outputs[0][frames - 1] = std::nanf("");
    }
#endif
}

} // namespace

#if defined(_WIN32)
#define FAKE_EXPORT __declspec(dllexport)
#else
#define FAKE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FAKE_EXPORT AEffect* VSTPluginMain(audioMasterCallback) {
#if defined(FAKE_LOCKS) && defined(_WIN32)
    static const bool ready = (InitializeCriticalSection(&section), true);
    static_cast<void>(ready);
#endif
    std::memset(&effect, 0, sizeof effect);
    effect.magic = kEffectMagic;
    effect.dispatcher = dispatch;
    effect.setParameter = setParameter;
    effect.getParameter = getParameter;
    effect.processReplacing = processReplacing;
    effect.numParams = 2;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing;
    effect.uniqueID = 0x46616B65; // 'Fake'
    effect.version = 1;
    return &effect;
}
