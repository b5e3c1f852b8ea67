// Runs scripted songs through the built plug-in (loaded as a host loads it)
// and through the reference model, and compares the two sample for sample.
#pragma once

#include "hosting/hosting.h"

#include <array>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

inline constexpr int kGateParams = 38;

// One host block: what happens before it, the time record it gets, its size.
struct GateBlock {
    int frames = 512;
    bool hasTime = true; // false: the time request answers null
    double ppqPos = 0.0;
    double tempo = 120.0;
    bool playing = true;
    std::vector<std::pair<int, float>> parameters; // set just before the block
    int newSampleRate = 0; // non-zero: suspend, set this rate, resume before the block
    bool inPlace = false;  // the host hands the output buffers as inputs too
};

enum class GateSignal { noise, ones };

struct GateScenario {
    std::array<float, kGateParams> values; // host values set after creation
    int sampleRate = 44100;
    std::vector<GateBlock> blocks;
    GateSignal signal = GateSignal::noise;
    std::uint32_t signalSeed = 1;
};

// Host values equal to the default program: odd steps (1, 3, ...) play, 8
// steps, 1/16, declick on, duration 1.0, full mix, output 1.0.
std::array<float, kGateParams> defaultProgramValues();
float stepCountValue(int steps); // host value of parameter 32 for 1..16 steps
float noteValue(int note);       // host value of parameter 33 for note 0..7

// Blocks of the given sizes on a playing transport from startBeat at a steady
// tempo, as a host would send them.
std::vector<GateBlock> steadyBlocks(std::vector<int> sizes, double tempo, int sampleRate,
                                    double startBeat = 0.0);

struct GateOutput {
    std::vector<float> left;
    std::vector<float> right;
};

// The built plug-in module, loaded once per test program.
hosting::PluginModule& gateModule();

// A fresh instance of the built plug-in with the host's default answers.
std::unique_ptr<hosting::HostedPlugin> newGatePlugin();

// Runs fn on a thread that has not drawn yet, and waits for it.
void onFreshThread(const std::function<void()>& fn);

// The scenario's input, both channels, block after block.
GateOutput scenarioInput(const GateScenario& scenario);

// The scenario through the plug-in: set-up on this thread, every block on a
// fresh thread, so its draws start from the beginning of the sequence.
GateOutput renderPlugin(const GateScenario& scenario);
// The scenario's host values, set on an instance a test has prepared itself.
void setScenarioValues(hosting::HostedPlugin& plugin, const GateScenario& scenario);
// Only the blocks of the scenario (their parameter changes, sample rates,
// time records, buffers) through that instance, on a fresh thread that runs
// `first` before them.
GateOutput processScenario(hosting::HostedPlugin& plugin, const GateScenario& scenario,
                           const std::function<void()>& first = {});
GateOutput renderModel(const GateScenario& scenario);

// Bit-for-bit equality, naming the first differing sample.
::testing::AssertionResult sameSamples(const GateOutput& actual, const GateOutput& expected);

// Every sample finite and either 0 or at least FLT_MIN in magnitude.
::testing::AssertionResult allClean(const std::vector<float>& samples);
