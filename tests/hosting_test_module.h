// The tiny plug-in the hosting tests load: what a test asks it to send to
// the host, and the names of its controls.
#pragma once

#include "host/vst_abi.h"

// effVendorSpecific with ptr pointing at one of these makes the module call
// the host callback with these arguments and answer what the host answered.
struct TestModuleRequest {
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    bool withoutRecord = false; // send a null record instead of the module's own
};

// Exported: the number of instances alive in the module.
using TestModuleLiveInstances = int (*)();
inline constexpr const char* kTestModuleLiveInstances = "hostingTestLiveInstances";

// The module's parameter label is longer than the interface's 8 characters,
// as some plug-ins write; the host must keep it whole.
inline constexpr const char* kTestModuleLongLabel =
    "a label far longer than the eight characters a host is promised";
inline constexpr VstInt32 kTestModuleUniqueId = 0x68547374; // 'hTst'
