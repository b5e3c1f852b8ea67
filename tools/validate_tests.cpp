#include "tools/validate_tests.h"

namespace tarvokin::validate {

std::span<const ValidationTest> validationTests() {
    static constexpr ValidationTest kTests[] = {
        {"scan", "entry points, record, identity texts, category", testScan},
        {"open", "cold and warm open, several instances at once", testOpen},
        {"programs", "names, switching, restoring", testPrograms},
        {"parameters", "texts, value round trip, automatable, string to value", testParameters},
        {"state", "a program's values and name survive a switch", testState},
        {"audio", "sample rates x block sizes, transport, tempo", testAudio},
        {"automation", "parameters changed every 32 frames", testAutomation},
        {"fuzz-parameters", "hostile parameter values, then audio", testFuzzParameters},
        {"threads", "parameters and programs set while audio runs", testThreads},
        {"editor", "open/close, with audio, automation, idle rates", testEditor},
        {"editor-stress", "editor at sample rate 0, before resume", testEditorStress},
        {"realtime", "no allocation, lock or system call in processReplacing", testRealtime},
    };
    return kTests;
}

} // namespace tarvokin::validate
