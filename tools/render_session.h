// One plug-in instance set up the way a host plays a song through it, fed
// block by block with a running transport.
#pragma once

#include "hosting/transport.h"
#include "tools/command.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvokin {

struct RenderSettings {
    std::string pluginPath;
    double tempo = 120.0;
    double startBeat = 0.0;
    bool playing = true;
    int blockSize = 512;
    std::optional<int> program;
    std::vector<std::string> settings; // "NAME=VALUE" words, applied in order
};

class RenderSession {
public:
    // Loads the plug-in and does what a host does before playing: effOpen,
    // the program, the parameter settings, then effSetSampleRate,
    // effSetBlockSize and effMainsChanged 1. Throws std::runtime_error with a
    // one-line reason (unloadable plug-in, no outputs, unknown program,
    // parameter or value).
    RenderSession(const RenderSettings& settings, int sampleRate);
    // effMainsChanged 0 and effClose.
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    int blockSize() const { return blockSize_; }

    // One block of at most blockSize() frames, the time record advanced by
    // the frames rendered so far. Outputs may be the inputs.
    void process(const float* left, const float* right, float* outLeft, float* outRight,
                 int frames);

private:
    LoadedPlugin loaded_;
    hosting::Transport transport_;
    int blockSize_;
    std::int64_t framesDone_ = 0;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};

// Parses a whole decimal number within [low, high]; throws UsageError naming
// the option otherwise.
int integerOption(const std::string& option, const std::string& text, int low, int high);
// Parses a finite number within [low, high]; throws UsageError otherwise.
double numberOption(const std::string& option, const std::string& text, double low, double high);

} // namespace tarvokin
