// What the gate does with what a host should not send: missing or unusable
// time records, absurd song positions, parameter values outside 0..1,
// non-finite and subnormal input, null buffers, odd call sequences. Each
// case is compared with the behaviour it is defined to have.
#include "tests/gate_harness.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr float kInfF = std::numeric_limits<float>::infinity();
constexpr float kNaNF = std::numeric_limits<float>::quiet_NaN();

GateScenario halfOpenSong(int sampleRate = 44100, double tempo = 120.0, double startBeat = 0.0,
                          int blocks = 24) {
    GateScenario scenario;
    scenario.values = defaultProgramValues();
    scenario.values[35] = 0.5f;
    scenario.sampleRate = sampleRate;
    scenario.blocks = steadyBlocks(std::vector<int>(blocks, 700), tempo, sampleRate, startBeat);
    return scenario;
}

// A time record the gate cannot use runs the block as a stopped transport at
// the last finite tempo: the same as a block without a record.
TEST(GateBadInput, UnusableTimeRecordsRunAsAStoppedTransport) {
    struct Case {
        const char* name;
        double ppqPos, tempo;
    };
    const Case cases[] = {
        {"NaN position", kNaN, 120.0},          {"infinite position", kInf, 120.0},
        {"-infinite position", -kInf, 120.0},   {"absurd position", 1e300, 120.0},
        {"far beyond 2^32 beats", 1e15, 120.0}, {"NaN tempo", 8.0, kNaN},
        {"infinite tempo", 8.0, kInf},          {"-infinite tempo", 8.0, -kInf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GateScenario bad = halfOpenSong();
        for (int step = 0; step < 16; ++step) {
            bad.values[step] = 0.5f; // every draw counts
        }
        GateScenario expected = bad;
        for (std::size_t b = 6; b < 12; ++b) {
            bad.blocks[b].ppqPos = c.ppqPos;
            bad.blocks[b].tempo = c.tempo;
            if (std::isfinite(c.tempo)) {
                expected.blocks[b].playing = false; // the record's tempo still counts
            } else {
                expected.blocks[b].hasTime = false;
            }
        }
        const GateOutput out = renderPlugin(bad);
        EXPECT_TRUE(sameSamples(out, renderModel(expected)));
        EXPECT_TRUE(allClean(out.left));
    }
}

TEST(GateBadInput, NoTimeRecordBeforeAnyTempoRunsAt120) {
    GateScenario scenario = halfOpenSong();
    for (GateBlock& block : scenario.blocks) {
        block.hasTime = false;
    }
    GateScenario expected = halfOpenSong();
    for (GateBlock& block : expected.blocks) {
        block.playing = false;
        block.tempo = 120.0;
    }
    EXPECT_TRUE(sameSamples(renderPlugin(scenario), renderModel(expected)));
}

// Tempo 120 at 32768 Hz makes every position an exact binary fraction, so
// songs a whole pattern apart are sample-identical.
constexpr int kExactRate = 32768;

TEST(GateBadInput, NegativePositionsContinueThePatternThroughZero) {
    GateScenario before = halfOpenSong(kExactRate, 120.0, -2.0, 70); // beats -2 .. +0.99
    GateScenario after = halfOpenSong(kExactRate, 120.0, 2.0, 70);   // one pattern later
    for (GateScenario* s : {&before, &after}) {
        s->values[32] = stepCountValue(4);
        s->values[33] = noteValue(0); // quarter notes: the pattern is 4 beats long
        s->values[1] = 1.0f;
    }
    const GateOutput out = renderPlugin(before);
    EXPECT_TRUE(sameSamples(out, renderModel(after)));
    EXPECT_TRUE(allClean(out.left));
}

TEST(GateBadInput, StepNumbersBeyond32BitsContinueThePattern) {
    // At 1/16, beat 2^29 is step 2^31: the first step number past 32 bits.
    GateScenario huge = halfOpenSong(kExactRate, 120.0, 536870912.0);
    GateScenario within = halfOpenSong(kExactRate, 120.0, 536870912.0 - 4.0 * 64);
    for (GateScenario* s : {&huge, &within}) {
        s->values[32] = stepCountValue(16);
    }
    const GateOutput out = renderPlugin(huge);
    EXPECT_TRUE(sameSamples(out, renderModel(within)));
}

TEST(GateBadInput, NegativeTempoRunsBackwardsAcrossZero) {
    GateScenario scenario = halfOpenSong(44100, -120.0, 0.2);
    scenario.values[32] = stepCountValue(5);
    for (GateBlock& block : scenario.blocks) {
        block.ppqPos = 0.2 - (&block - scenario.blocks.data()) * 700.0 / 22050.0;
    }
    const GateOutput out = renderPlugin(scenario);
    EXPECT_TRUE(allClean(out.left));
    EXPECT_TRUE(allClean(out.right));
}

// Parameter values outside 0..1 act as the nearest defined value: levels and
// duration are held within 0..1 (NaN as 0), step count and note by the
// parameter model; a NaN probability never opens, an infinite one always.
TEST(GateBadInput, ParameterValuesOutsideTheirRangeActAsTheNearestDefinedOne) {
    struct Case {
        const char* name;
        int index;
        float bad, equivalent;
    };
    const Case cases[] = {
        {"NaN probability", 0, kNaNF, -1.0f},      {"infinite probability", 1, kInfF, 1.0f},
        {"negative probability", 0, -0.5f, -1.0f}, {"NaN duration", 35, kNaNF, 0.0f},
        {"negative duration", 35, -3.0f, 0.0f},    {"huge duration", 35, 1e30f, 1.0f},
        {"infinite duration", 35, kInfF, 1.0f},    {"NaN output", 37, kNaNF, 0.0f},
        {"infinite output", 37, kInfF, 1.0f},      {"huge output", 37, 1e30f, 1.0f},
        {"negative output", 37, -2.0f, 0.0f},      {"NaN mix", 36, kNaNF, 1.0f},
        {"mix far below 0", 36, -1e30f, 0.0f},     {"infinite mix", 36, kInfF, 1.0f},
        {"mix above 1", 36, 1.5f, 1.0f},           {"step count above 1", 32, 2.0f, 1.0f},
        {"step count below 0", 32, -0.5f, 0.0f},   {"note above 1", 33, 3.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GateScenario bad = halfOpenSong();
        bad.values[35] = 0.3f;
        bad.values[36] = 0.7f;
        GateScenario expected = bad;
        bad.blocks[4].parameters.emplace_back(c.index, c.bad);
        expected.blocks[4].parameters.emplace_back(c.index, c.equivalent);
        const GateOutput out = renderPlugin(bad);
        EXPECT_TRUE(sameSamples(out, renderModel(expected)));
        EXPECT_TRUE(allClean(out.left));
    }
}

TEST(GateBadInput, NonFiniteAndSubnormalInputSamplesComeOutAsSilence) {
    auto plugin = newGatePlugin();
    plugin->setParameter(36, 0.5f); // off level 0.5: the gate never closes fully
    plugin->prepareToPlay(44100, 8);
    std::vector<float> left = {kNaNF, kInfF, -kInfF, 1e-40f, 0.5f, -0.0f, FLT_MIN, -1.0f};
    std::vector<float> right = left;
    std::vector<float> outLeft(8, 7.0f), outRight(8, 7.0f);
    for (int block = 0; block < 3000; ++block) { // through open and closed steps
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        plugin->processReplacing(in, out, 8);
        ASSERT_TRUE(allClean(outLeft));
        ASSERT_TRUE(allClean(outRight));
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(outLeft[i], 0.0f);
        }
    }
}

TEST(GateBadInput, SubnormalResultsAreWrittenAsZero) {
    GateScenario scenario = halfOpenSong();
    scenario.values[37] = 1e-39f; // output level far below the smallest normal float
    const GateOutput out = renderPlugin(scenario);
    for (float sample : out.left) {
        ASSERT_EQ(sample, 0.0f);
    }
}

// Calls without usable buffers or frames touch nothing and draw nothing, but
// still ask the host for the time.
TEST(GateBadInput, NullBuffersAndEmptyBlocksTouchNothing) {
    const GateScenario scenario = halfOpenSong();
    auto plugin = newGatePlugin();
    setScenarioValues(*plugin, scenario);
    plugin->prepareToPlay(44100, 700);
    std::vector<float> sentinel(16, 7.0f), left(16, 0.25f);
    const GateOutput out = processScenario(*plugin, scenario, [&] {
        const int before = plugin->timeRequestCount();
        float* good[2] = {left.data(), left.data()};
        float* oneNull[2] = {sentinel.data(), nullptr};
        float* sentinels[2] = {sentinel.data(), sentinel.data()};
        plugin->processReplacing(nullptr, sentinels, 16);
        plugin->processReplacing(good, nullptr, 16);
        plugin->processReplacing(oneNull, sentinels, 16);
        plugin->processReplacing(good, oneNull, 16);
        plugin->processReplacing(good, sentinels, 0);
        plugin->processReplacing(good, sentinels, -5);
        EXPECT_EQ(plugin->timeRequestCount() - before, 6);
    });
    EXPECT_EQ(sentinel, std::vector<float>(16, 7.0f));
    // The same thread then gates as if nothing had been drawn or moved before.
    EXPECT_TRUE(sameSamples(out, renderModel(scenario)));
}

// Opening twice, processing before the first resume, and blocks larger than
// announced: the same output as a host that does everything by the book.
TEST(GateBadInput, OddHostSequencesStillGateNormally) {
    GateScenario scenario = halfOpenSong();
    scenario.blocks = steadyBlocks({4096, 4096, 3000, 4096}, 120.0, 44100);
    auto plugin = newGatePlugin();
    plugin->open();
    plugin->open();
    setScenarioValues(*plugin, scenario);
    plugin->dispatch(effSetBlockSize, 0, 64); // announced, then exceeded
    EXPECT_TRUE(sameSamples(processScenario(*plugin, scenario), renderModel(scenario)));
}

// A host that opens with a sample rate and block size of 0 (and answers 0
// when asked): the effect keeps its last usable rate and gates normally.
TEST(GateBadInput, ZeroSampleRateAtOpenKeepsTheLastUsableRate) {
    const GateScenario scenario = halfOpenSong();
    const GateOutput expected = renderModel(scenario);
    for (float rate : {0.0f, -48000.0f, kNaNF}) {
        SCOPED_TRACE(rate);
        auto plugin = newGatePlugin();
        setScenarioValues(*plugin, scenario);
        plugin->state().sampleRate = 0; // the host does not know either
        plugin->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        plugin->dispatch(effSetBlockSize, 0, 0);
        plugin->dispatch(effMainsChanged, 0, 1);
        const GateOutput out = processScenario(*plugin, scenario);
        EXPECT_TRUE(sameSamples(out, expected));
        EXPECT_TRUE(allClean(out.left));
    }
}

} // namespace
