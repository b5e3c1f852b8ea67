// What every validation test of tarvokin validate works with: the options, a
// seeded random source, the plug-in (loaded fresh for each test), audio
// blocks, output checks and the place to report failures.
#pragma once

#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tarvokin::validate {

struct Config {
    std::string plugin;
    int strictness = 5;        // 1..10: how much of each test runs
    std::uint64_t seed = 1;    // the random source of every test
    bool editorWindow = false; // give the editor a real X11 parent window (DISPLAY)
};

// One test's view of the run. Failures and notes go to the report line; a
// test passes when it recorded no failure.
class Context {
public:
    Context(const Config& config, std::uint64_t testSeed);

    const Config& config() const { return config_; }
    std::mt19937_64& random() { return random_; }
    // A value that grows with the strictness: atOne at 1, atTen at 10.
    int scaled(int atOne, int atTen) const;

    void fail(const std::string& message);
    void note(const std::string& message);
    // The test does not apply to this plug-in or build.
    void skip(const std::string& reason);
    bool skipped() const { return skipped_; }
    bool failed() const { return failures_ > 0; }
    int failures() const { return failures_; }
    const std::vector<std::string>& messages() const { return messages_; }

    // The module, loaded on first use; throws std::runtime_error when it
    // cannot be loaded.
    hosting::PluginModule& module();
    // A new instance; throws std::runtime_error when the entry point fails.
    std::unique_ptr<hosting::HostedPlugin> instance(hosting::HostState state = {});
    // A new instance, opened and resumed at the given rate and block size.
    std::unique_ptr<hosting::HostedPlugin> running(double sampleRate = 44100.0,
                                                   VstInt32 blockSize = 512);

    // Whether the plug-in is our Tarvokin ('tk67'): its outputs can then be
    // held to the gate's own bound.
    static bool isTarvokin(const AEffect& effect);

private:
    const Config& config_;
    std::mt19937_64 random_;
    std::unique_ptr<hosting::PluginModule> module_;
    int failures_ = 0;
    bool skipped_ = false;
    std::vector<std::string> messages_;
};

// A uniform random float in [low, high).
float uniform(std::mt19937_64& random, float low, float high);

// Input and output channels of one block, sized for the plug-in's I/O.
class AudioBuffers {
public:
    AudioBuffers(const AEffect& effect, VstInt32 frames);

    VstInt32 frames() const { return frames_; }
    // White noise of the given peak in every input; outputs filled with a
    // marker value, so that untouched outputs show.
    void fillNoise(std::mt19937_64& random, float peak);
    void fillSilence();
    float inputPeak() const;
    float** inputs() { return inputPointers_.data(); }
    float** outputs() { return outputPointers_.data(); }
    // The first fault in the first `frames` output samples: NaN, infinity, a
    // subnormal, or a magnitude above `bound`. Empty when there is none.
    std::string outputFault(float bound, VstInt32 frames) const;

private:
    VstInt32 frames_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};

// The largest output magnitude a plug-in may produce for inputs of peak
// `inputPeak`: for Tarvokin the gate's gain (at most 1) times its output
// level; for any other plug-in 16 x the input (+ 1) at its default settings,
// 1000 x when the test has set its parameters at random.
float outputBound(hosting::HostedPlugin& plugin, float inputPeak, bool parametersRandomized);

// Calls processReplacing directly (the watch may be armed around it).
void processBlock(hosting::HostedPlugin& plugin, AudioBuffers& buffers, VstInt32 frames);

// Asks for a text through the dispatcher into a buffer pre-filled with a
// marker byte. Returns the problem (written past limit + terminator, or no
// terminator within it) or an empty string; *text receives what was written.
// *answered is false when the buffer was left untouched.
std::string askBoundedText(hosting::HostedPlugin& plugin, VstInt32 opcode, VstInt32 index,
                           int limit, std::string* text, bool* answered);

// The transport a test plays: tempo, playing or stopped, position at frame.
void setTransport(hosting::HostedPlugin& plugin, double sampleRate, double tempo, bool playing,
                  std::int64_t frame);

std::string describe(double value);

} // namespace tarvokin::validate
