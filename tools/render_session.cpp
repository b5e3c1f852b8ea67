#include "tools/render_session.h"

#include "tools/parameter_value.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tarvokin {

int integerOption(const std::string& option, const std::string& text, int low, int high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || value < low ||
        value > high) {
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    }
    return static_cast<int>(value);
}

double numberOption(const std::string& option, const std::string& text, double low, double high) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) || value < low ||
        value > high) {
        char range[96];
        std::snprintf(range, sizeof range, "a number from %g to %g", low, high);
        throw UsageError(option + " takes " + range + ", not \"" + text + "\"");
    }
    return value;
}

RenderSession::RenderSession(const RenderSettings& settings, int sampleRate)
    : blockSize_(settings.blockSize) {
    hosting::HostState state;
    state.sampleRate = sampleRate;
    state.blockSize = blockSize_;
    loaded_ = loadPlugin(settings.pluginPath, state);
    hosting::HostedPlugin& plugin = *loaded_.plugin;
    const AEffect& effect = *plugin.effect();
    if (effect.numOutputs < 1) {
        throw std::runtime_error(settings.pluginPath + " has no audio outputs");
    }
    plugin.open();
    if (settings.program) {
        if (*settings.program >= effect.numPrograms) {
            throw std::runtime_error("no program " + std::to_string(*settings.program) +
                                     " (the plug-in has " + std::to_string(effect.numPrograms) +
                                     ", from 0)");
        }
        plugin.setProgram(*settings.program);
    }
    for (const std::string& word : settings.settings) {
        const ParameterSetting setting = resolveSetting(plugin, word);
        plugin.setParameter(setting.index, setting.value);
    }

    transport_.tempo = settings.tempo;
    transport_.startBeat = settings.startBeat;
    transport_.playing = settings.playing;
    transport_.sampleRate = sampleRate;

    // Every pin gets a buffer, also when the plug-in has fewer or more than two.
    inputs_.assign(std::max(effect.numInputs, 2), std::vector<float>(blockSize_));
    outputs_.assign(std::max(effect.numOutputs, 2), std::vector<float>(blockSize_));
    for (auto& buffer : inputs_) {
        inputPointers_.push_back(buffer.data());
    }
    for (auto& buffer : outputs_) {
        outputPointers_.push_back(buffer.data());
    }
    plugin.prepareToPlay(sampleRate, blockSize_);
}

RenderSession::~RenderSession() {
    if (loaded_.plugin) {
        loaded_.plugin->suspend();
        loaded_.plugin->close();
    }
}

void RenderSession::process(const float* left, const float* right, float* outLeft, float* outRight,
                            int frames) {
    hosting::HostedPlugin& plugin = *loaded_.plugin;
    AEffect* effect = plugin.effect();
    std::copy(left, left + frames, inputs_[0].begin());
    std::copy(right, right + frames, inputs_[1].begin());
    plugin.state().timeInfo = hosting::timeInfoAt(transport_, framesDone_);
    if ((effect->flags & effFlagsCanReplacing) != 0) {
        plugin.processReplacing(inputPointers_.data(), outputPointers_.data(), frames);
    } else {
        // Only the old accumulating entry: it adds to what is in the outputs.
        for (auto& buffer : outputs_) {
            std::fill(buffer.begin(), buffer.begin() + frames, 0.0f);
        }
        effect->process(effect, inputPointers_.data(), outputPointers_.data(), frames);
    }
    const std::vector<float>& secondOutput = effect->numOutputs >= 2 ? outputs_[1] : outputs_[0];
    std::copy(outputs_[0].begin(), outputs_[0].begin() + frames, outLeft);
    std::copy(secondOutput.begin(), secondOutput.begin() + frames, outRight);
    framesDone_ += frames;
}

} // namespace tarvokin
