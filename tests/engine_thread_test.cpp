// The host's two threads on one effect: the user-interface thread switches
// programs and reads texts while the audio thread automates parameters and
// processes. Run under ThreadSanitizer, this shows that every shared field is
// read and written as one whole value; the checks below hold in any build.
#include "tests/engine_test_support.h"

#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

constexpr int kRounds = 2000;

TEST(EngineThreads, ProgramSwitchesAndAutomationNeverLeaveAFieldOutOfRange) {
    setEditorFactoryMode(EditorFactoryMode::none); // the recording editor is single-threaded
    Tarvokin effect(nullptr);
    std::atomic<bool> outOfRange{false};

    std::thread audio([&] {
        std::array<float, 64> left{}, right{}, outLeft{}, outRight{};
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        for (int round = 0; round < kRounds; ++round) {
            const float value = static_cast<float>(round % 11) / 10.0f;
            effect.setParameter(round % kNumParams, value);
            effect.processReplacing(inputs, outputs, static_cast<VstInt32>(left.size()));
            for (VstInt32 index : {16, 32, 33, 34}) {
                const float host = effect.getParameter(index);
                if (!(host >= 0.0f && host <= 1.0f)) {
                    outOfRange = true;
                }
            }
        }
    });

    char name[32];
    char text[16];
    for (int round = 0; round < kRounds; ++round) {
        effect.setProgram(round % kNumPrograms);
        effect.getProgramName(name);
        effect.getParameterDisplay(33, text);
        effect.getParameterDisplay(round % kNumParams, text);
    }
    audio.join();

    EXPECT_FALSE(outOfRange);
    effect.getParameterDisplay(32, text);
    const int steps = std::stoi(text);
    EXPECT_GE(steps, 1);
    EXPECT_LE(steps, 16);
}

} // namespace
