// The gate inside the effect object: its state after known songs, resume's
// sample-rate handling, the step generator and the note table.
#include "engine/note_table.h"
#include "engine/step_random.h"
#include "tests/engine_test_support.h"
#include "tests/gate_reference_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <vector>

namespace {

// A host callback with a playing transport at 120 bpm from beat 0 and no
// answer to the sample-rate request, so the effect keeps what it was given.
VstTimeInfo hostTime;
VstIntPtr VSTCALLBACK timeOnlyHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetTime ? reinterpret_cast<VstIntPtr>(&hostTime) : 0;
}

struct Buffers {
    explicit Buffers(int frames) : left(frames, 1.0f), right(frames, 1.0f) {}
    std::vector<float> left, right;
    float* channels[2] = {left.data(), right.data()};
};

void runOnFreshThread(const std::function<void()>& fn) {
    std::thread(fn).join();
}

TEST(GateInProcess, WorkedExampleLeavesTheGateClosedWithNoRampRunning) {
    setEditorFactoryMode(EditorFactoryMode::none);
    hostTime = VstTimeInfo{};
    hostTime.tempo = 120.0;
    hostTime.flags = kVstTransportPlaying;
    Tarvokin effect(timeOnlyHost);
    effect.setParameter(1, 0.0f);
    effect.setParameter(32, 1.0f / 15.0f); // two steps
    Buffers buffers(6000);
    runOnFreshThread([&] { effect.processReplacing(buffers.channels, buffers.channels, 6000); });
    const Tarvokin::GateSnapshot gate = effect.gateSnapshot();
    EXPECT_EQ(gate.gain, 0.0);
    EXPECT_EQ(gate.rampIncrement, 0.0);
    EXPECT_EQ(gate.rampTarget, 0.0);
    EXPECT_EQ(gate.stepLevel, 0.0);
    EXPECT_FALSE(gate.stepLegato);
    EXPECT_EQ(gate.stepLength, 0.25);
    EXPECT_EQ(gate.declickTime, 0.005);
}

TEST(GateInProcess, ResumeTakesOnlyAUsableSampleRateForTheRamps) {
    setEditorFactoryMode(EditorFactoryMode::none);
    Tarvokin effect(nullptr);
    effect.setSampleRate(48000.0f);
    effect.resume();
    EXPECT_EQ(effect.gateSnapshot().rampSampleRate, 48000.0);
    for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
        effect.setSampleRate(rate);
        effect.resume();
        EXPECT_EQ(effect.gateSnapshot().rampSampleRate, 48000.0) << rate;
    }
}

// An effect whose own sample rate is unusable (the base's setSampleRate takes
// anything) has no usable time: it runs as a stopped transport at the ramps'
// rate instead of an infinite advance.
TEST(GateInProcess, UnusableSampleRateRunsAsAStoppedTransport) {
    for (float rate : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(rate);
        setEditorFactoryMode(EditorFactoryMode::none);
        hostTime = VstTimeInfo{};
        hostTime.tempo = 100.0;
        hostTime.ppqPos = 3.3;
        hostTime.flags = kVstTransportPlaying;
        Tarvokin effect(timeOnlyHost);
        effect.setParameter(35, 0.5f);
        effect.setSampleRate(rate);

        GateReferenceModel model;
        const float defaults[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
        for (int step = 0; step < 16; ++step) {
            model.setParameter(step, defaults[step]);
        }
        model.setParameter(32, 7.0f / 15.0f);
        model.setParameter(33, 2.0f / 7.0f);
        model.setParameter(34, 1.0f);
        model.setParameter(35, 0.5f);
        model.setParameter(36, 1.0f);
        model.setParameter(37, 1.0f);
        VstTimeInfo stopped = hostTime;
        stopped.flags = 0;

        Buffers actual(12000), expected(12000);
        runOnFreshThread([&] {
            for (int block = 0; block < 4; ++block) {
                float* in[2] = {actual.left.data() + block * 3000,
                                actual.right.data() + block * 3000};
                effect.processReplacing(in, in, 3000);
            }
        });
        for (int block = 0; block < 4; ++block) {
            model.process(&stopped, expected.left.data() + block * 3000,
                          expected.right.data() + block * 3000, expected.left.data() + block * 3000,
                          expected.right.data() + block * 3000, 3000);
        }
        EXPECT_EQ(actual.left, expected.left);
    }
}

TEST(GateInProcess, StepRandomStartsAt41OnEveryNewThread) {
    for (int thread = 0; thread < 2; ++thread) {
        std::vector<int> draws;
        runOnFreshThread([&] {
            for (int i = 0; i < 5; ++i) {
                draws.push_back(StepRandom::draw());
            }
        });
        EXPECT_EQ(draws, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    }
}

TEST(GateInProcess, NoteTableHoldsTheSixDigitTripletLengths) {
    const double expected[kNumNoteValues] = {1.0,      0.5,      0.25,     0.125,
                                             0.666666, 0.333333, 0.166666, 0.083333};
    for (int note = 0; note < kNumNoteValues; ++note) {
        EXPECT_EQ(kNoteStepLength[note], expected[note]);
    }
    EXPECT_NE(kNoteStepLength[4], 2.0 / 3.0);
}

} // namespace
