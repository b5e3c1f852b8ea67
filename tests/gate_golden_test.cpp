// The gate through the built module, as a host drives it: the worked example
// sample by sample, then a table of songs compared with the reference model.
#include "tests/gate_harness.h"

#include <cmath>

namespace {

// Step 0 and step 1 of two steps with the given probabilities, 1/16, declick
// on, duration 1.0, full mix, output 1.0, 120 bpm at 44100 Hz from beat 0.
GateScenario twoStepExample(float first, float second) {
    GateScenario scenario;
    scenario.values = defaultProgramValues();
    scenario.values[0] = first;
    scenario.values[1] = second;
    scenario.values[32] = stepCountValue(2);
    scenario.signal = GateSignal::ones;
    scenario.blocks = steadyBlocks(std::vector<int>(12, 512), 120.0, 44100);
    return scenario;
}

TEST(GateGolden, WorkedExampleOpensOnSampleZeroAndClosesOnSample5513) {
    const GateScenario scenario = twoStepExample(1.0f, 0.0f);
    const GateOutput out = renderPlugin(scenario);

    // A 5 ms ramp at 44100 Hz is 220.5 samples: the first sample already
    // carries one increment, the 221st reaches the target.
    EXPECT_EQ(out.left[0], static_cast<float>(1.0 / 220.5));
    EXPECT_LT(out.left[219], 1.0f);
    EXPECT_EQ(out.left[220], 1.0f);
    EXPECT_EQ(out.left[5512], 1.0f); // step 0 lasts 5512.5 samples
    EXPECT_LT(out.left[5513], 1.0f); // step 1 starts and closes
    EXPECT_GT(out.left[5732], 0.0f);
    EXPECT_EQ(out.left[5733], 0.0f); // the ramp ends exactly at 0
    EXPECT_EQ(out.left[6000], 0.0f);
    EXPECT_EQ(out.left, out.right);
    EXPECT_TRUE(sameSamples(out, renderModel(scenario)));
}

// Thresholds half a unit either side of the draw prove which draw each step
// start took: 41 for step 0 and 18467 for step 1 on a fresh thread.
TEST(GateGolden, StepStartsTakeTheThreadsFirstDraws) {
    struct Case {
        double first, second;
        bool firstOpens, secondOpens;
    };
    const Case cases[] = {
        {41.5, 18467.5, true, true},
        {40.5, 18467.5, false, true},
        {41.5, 18466.5, true, false},
        {40.5, 18466.5, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " / " << c.second);
        const GateScenario scenario = twoStepExample(static_cast<float>(c.first / 32767.0),
                                                     static_cast<float>(c.second / 32767.0));
        const GateOutput out = renderPlugin(scenario);
        EXPECT_EQ(out.left[5512], c.firstOpens ? 1.0f : 0.0f);
        EXPECT_EQ(out.left[5733], c.secondOpens ? 1.0f : 0.0f);
        EXPECT_TRUE(sameSamples(out, renderModel(scenario)));
    }
}

TEST(GateGolden, InstancesOnOneThreadShareTheDrawSequence) {
    auto first = newGatePlugin();
    auto second = newGatePlugin();
    for (auto* plugin : {first.get(), second.get()}) {
        plugin->setParameter(0, static_cast<float>(41.5 / 32767.0)); // opens on 41 only
        plugin->prepareToPlay(44100, 64);
    }
    std::vector<float> ones(64, 1.0f);
    std::vector<float> firstLeft(64), firstRight(64), secondLeft(64), secondRight(64);
    onFreshThread([&] {
        float* in[2] = {ones.data(), ones.data()};
        float* out1[2] = {firstLeft.data(), firstRight.data()};
        float* out2[2] = {secondLeft.data(), secondRight.data()};
        first->processReplacing(in, out1, 64);  // draws 41
        second->processReplacing(in, out2, 64); // draws 18467
    });
    EXPECT_GT(firstLeft[63], 0.0f);
    EXPECT_EQ(secondLeft[63], 0.0f);
}

TEST(GateGolden, StoppedTransportDrawsAgainAtEveryBlockStart) {
    GateScenario scenario = twoStepExample(static_cast<float>(41.5 / 32767.0), 0.0f);
    for (GateBlock& block : scenario.blocks) {
        block.playing = false;
        block.ppqPos = 1234.5; // not used while stopped
    }
    const GateOutput out = renderPlugin(scenario);
    EXPECT_EQ(out.left[220], 1.0f);  // block 0: draw 41 opens step 0
    EXPECT_LT(out.left[512], 1.0f);  // block 1 starts step 0 again: draw 18467 closes
    EXPECT_EQ(out.left[1023], 0.0f); // ...and the ramp has ended well before its end
    EXPECT_TRUE(sameSamples(out, renderModel(scenario)));
}

// Songs against the model: each row changes one thing from the default
// program on a steady 120 bpm song at 44100 Hz.
struct SongCase {
    const char* name;
    std::function<void(GateScenario&)> change;
};

GateScenario defaultSong(std::vector<int> sizes = std::vector<int>(40, 1000)) {
    GateScenario scenario;
    scenario.values = defaultProgramValues();
    for (int step = 0; step < 16; ++step) {
        scenario.values[step] = static_cast<float>((step * 7 % 16) / 15.0); // a mix of chances
    }
    scenario.blocks = steadyBlocks(sizes, 120.0, 44100);
    return scenario;
}

void setFrom(GateScenario& scenario, std::size_t block, int index, float value) {
    scenario.blocks.at(block).parameters.emplace_back(index, value);
}

const SongCase kSongs[] = {
    {"DefaultProgram", [](GateScenario&) {}},
    {"TransportStopped",
     [](GateScenario& s) {
         for (GateBlock& block : s.blocks) {
             block.playing = false;
         }
     }},
    {"DurationZero", [](GateScenario& s) { s.values[35] = 0.0f; }},
    {"DurationHalf", [](GateScenario& s) { s.values[35] = 0.5f; }},
    {"DeclickOff", [](GateScenario& s) { s.values[34] = 0.0f; }},
    {"Legato",
     [](GateScenario& s) {
         s.values[35] = 0.3f;
         for (int step : {0, 3, 7}) {
             s.values[16 + step] = 1.0f;
         }
     }},
    {"OffLevelOne", [](GateScenario& s) { s.values[36] = 0.0f; }},
    {"PartialMixAndOutput",
     [](GateScenario& s) {
         s.values[36] = 0.6f;
         s.values[37] = 0.7f;
         s.values[35] = 0.4f;
     }},
    {"StepCountLoweredMidSong",
     [](GateScenario& s) {
         s.values[32] = stepCountValue(16);
         setFrom(s, 17, 32, stepCountValue(12));
         setFrom(s, 31, 32, stepCountValue(3));
     }},
    {"NoteChangedMidSong",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         setFrom(s, 9, 33, noteValue(5));
         setFrom(s, 20, 33, noteValue(7));
         setFrom(s, 30, 33, noteValue(0));
     }},
    {"PositionJumps",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         s.blocks[10].ppqPos = 64.0;  // a loop back onto a step start
         s.blocks[20].ppqPos = 3.1;   // into the middle of a step
         s.blocks[30].ppqPos = 0.125; // onto a close point
         for (std::size_t b = 11; b < s.blocks.size(); ++b) {
             if (b != 20 && b != 30) {
                 s.blocks[b].ppqPos = s.blocks[b - 1].ppqPos + 1000.0 / 22050.0;
             }
         }
     }},
    {"TempoChanges",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         double beat = 0.0;
         for (std::size_t b = 0; b < s.blocks.size(); ++b) {
             s.blocks[b].tempo = b < 12 ? 120.0 : b < 25 ? 87.5 : 174.0;
             s.blocks[b].ppqPos = beat;
             beat += 1000.0 * s.blocks[b].tempo / (60.0 * 44100.0);
         }
     }},
    {"SampleRateChangeRampsFromResume",
     [](GateScenario& s) {
         s.values[35] = 0.25f;
         s.blocks[15].newSampleRate = 96000;
         double beat = s.blocks[15].ppqPos;
         for (std::size_t b = 15; b < s.blocks.size(); ++b) {
             s.blocks[b].ppqPos = beat;
             beat += 1000.0 * 120.0 / (60.0 * 96000.0);
         }
     }},
    {"InPlace",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         for (std::size_t b = 0; b < s.blocks.size(); b += 2) {
             s.blocks[b].inPlace = true;
         }
     }},
    {"NoTimeRecordRunsStoppedAtTheLastTempo",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         for (std::size_t b = 0; b < s.blocks.size(); ++b) {
             s.blocks[b].tempo = 90.0;
             s.blocks[b].hasTime = b % 3 != 2;
         }
     }},
    {"TempoZeroHoldsThePosition",
     [](GateScenario& s) {
         s.values[35] = 0.1f;
         for (std::size_t b = 10; b < 20; ++b) {
             s.blocks[b].tempo = 0.0;
             s.blocks[b].ppqPos = 2.2;
         }
     }},
    {"OddBlockSizes",
     [](GateScenario& s) {
         s.values[35] = 0.5f;
         s.blocks = steadyBlocks({1, 2, 3, 4096, 17, 1, 4095, 333, 1, 2048}, 120.0, 44100);
     }},
};

class GateSongs : public testing::TestWithParam<SongCase> {};

TEST_P(GateSongs, MatchTheModelBitForBit) {
    GateScenario scenario = defaultSong();
    GetParam().change(scenario);
    const GateOutput plugin = renderPlugin(scenario);
    EXPECT_TRUE(sameSamples(plugin, renderModel(scenario)));
    EXPECT_TRUE(allClean(plugin.left));
}

INSTANTIATE_TEST_SUITE_P(Table, GateSongs, testing::ValuesIn(kSongs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GateGolden, InPlaceEqualsSeparateBuffers) {
    GateScenario separate = defaultSong();
    separate.values[35] = 0.5f;
    GateScenario inPlace = separate;
    for (GateBlock& block : inPlace.blocks) {
        block.inPlace = true;
    }
    EXPECT_TRUE(sameSamples(renderPlugin(inPlace), renderPlugin(separate)));
}

TEST(GateGolden, OneTimeRequestPerBlockWithThePositionAndTempoFilter) {
    auto plugin = newGatePlugin();
    plugin->prepareToPlay(44100, 256);
    std::vector<float> left(256), right(256);
    float* buffers[2] = {left.data(), right.data()};
    const int before = plugin->timeRequestCount();
    for (int block = 0; block < 5; ++block) {
        plugin->processReplacing(buffers, buffers, 256);
    }
    EXPECT_EQ(plugin->timeRequestCount() - before, 5);
    EXPECT_EQ(plugin->lastTimeFilter(), 0x600);
}

} // namespace
