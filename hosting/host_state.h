// What the scripted host answers to a plug-in, and the record of one request
// the plug-in sent.
#pragma once

#include "host/vst_abi.h"

#include <string>

namespace hosting {

// One call of the host callback, as the plug-in made it.
struct Request {
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    std::string text; // audioMasterCanDo only: the capability text ptr pointed at
};

// The time record a host at 120 beats per minute and 44100 Hz hands out at the
// start of a playing song.
VstTimeInfo defaultTimeInfo();

// The host's answers. Tests change them between calls; the callback reads
// them on whichever thread the plug-in calls from.
struct HostState {
    VstIntPtr version = 2400;     // audioMasterVersion
    VstIntPtr sampleRate = 44100; // audioMasterGetSampleRate, an integer as the interface answers
    VstIntPtr blockSize = 1024;   // audioMasterGetBlockSize
    bool provideTimeInfo = true;  // false: audioMasterGetTime answers null
    VstTimeInfo timeInfo = defaultTimeInfo(); // what audioMasterGetTime points at
    VstIntPtr canDoAnswer = 1;                // audioMasterCanDo
    VstIntPtr sizeWindowAnswer = 1;           // audioMasterSizeWindow
};

} // namespace hosting
