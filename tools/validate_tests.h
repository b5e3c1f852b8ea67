// The tests of tarvokin validate, in the order they run.
#pragma once

#include "tools/validate_support.h"

#include <span>

namespace tarvokin::validate {

struct ValidationTest {
    const char* name;
    const char* summary;
    void (*run)(Context& context);
};

std::span<const ValidationTest> validationTests();

// validate_tests_identity.cpp
void testScan(Context& context);
void testOpen(Context& context);
// validate_tests_parameters.cpp
void testPrograms(Context& context);
void testParameters(Context& context);
void testState(Context& context);
void testFuzzParameters(Context& context);
// validate_tests_audio.cpp
void testAudio(Context& context);
void testAutomation(Context& context);
void testThreads(Context& context);
void testRealtime(Context& context);
// validate_tests_editor.cpp
void testEditor(Context& context);
void testEditorStress(Context& context);

} // namespace tarvokin::validate
