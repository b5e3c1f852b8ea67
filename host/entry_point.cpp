// The library's door: the exported entry point (under both names hosts look
// for) and the load hook that keeps the module handle.
#include "host/audio_effect.h"

#if defined(_WIN32)
#include <windows.h>
#define TK_EXPORT __declspec(dllexport)
#else
#include <dlfcn.h>
#define TK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TK_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr) {
        return nullptr; // without a callback the host version cannot be asked
    }
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(audioMaster);
    if (effect == nullptr) {
        return nullptr;
    }
    return effect->getAeffect();
}

// C++ reserves the name main for a function returning int, so the second
// export is the same entry under an assembler name.
extern "C" TK_EXPORT AEffect* VSTCALLBACK
mainAlias(audioMasterCallback audioMaster) __asm__("main");
extern "C" TK_EXPORT AEffect* VSTCALLBACK mainAlias(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/) {
    hInstance = module; // kept for every reason, so loading always proceeds
    return TRUE;
}
#else
namespace {
// The Linux counterpart of the load hook: remember this module's handle once
// the library is loaded, for the same resource and window code.
__attribute__((constructor)) void rememberModuleHandle() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&rememberModuleHandle), &info) != 0) {
        hInstance = info.dli_fbase;
    }
}
} // namespace
#endif
