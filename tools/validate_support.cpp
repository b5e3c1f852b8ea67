#include "tools/validate_support.h"

#include "hosting/transport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tarvokin::validate {
namespace {

// Failure texts kept per test; later ones are only counted.
constexpr std::size_t kMaxMessages = 6;
constexpr unsigned char kMarker = 0xA5;
constexpr float kOutputMarker = 12345.0f;

} // namespace

Context::Context(const Config& config, std::uint64_t testSeed)
    : config_(config), random_(config.seed * 0x9E3779B97F4A7C15ull + testSeed) {}

int Context::scaled(int atOne, int atTen) const {
    const int strictness = std::clamp(config_.strictness, 1, 10);
    return atOne + (atTen - atOne) * (strictness - 1) / 9;
}

void Context::fail(const std::string& message) {
    ++failures_;
    if (messages_.size() < kMaxMessages) {
        messages_.push_back(message);
    }
}

void Context::note(const std::string& message) {
    if (messages_.size() < kMaxMessages) {
        messages_.push_back("note: " + message);
    }
}

void Context::skip(const std::string& reason) {
    skipped_ = true;
    messages_.push_back(reason);
}

hosting::PluginModule& Context::module() {
    if (!module_) {
        std::string error;
        module_ = hosting::PluginModule::load(config_.plugin, &error);
        if (!module_) {
            throw std::runtime_error(error);
        }
    }
    return *module_;
}

std::unique_ptr<hosting::HostedPlugin> Context::instance(hosting::HostState state) {
    std::string error;
    auto plugin = hosting::HostedPlugin::create(module(), std::move(state), &error);
    if (!plugin) {
        throw std::runtime_error(error);
    }
    return plugin;
}

std::unique_ptr<hosting::HostedPlugin> Context::running(double sampleRate, VstInt32 blockSize) {
    auto plugin = instance();
    plugin->open();
    plugin->prepareToPlay(sampleRate, blockSize);
    return plugin;
}

bool Context::isTarvokin(const AEffect& effect) {
    return effect.uniqueID == (('t' << 24) | ('k' << 16) | ('6' << 8) | '7');
}

float uniform(std::mt19937_64& random, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

AudioBuffers::AudioBuffers(const AEffect& effect, VstInt32 frames) : frames_(frames) {
    const std::size_t length = static_cast<std::size_t>(std::max(frames, 1));
    inputs_.assign(static_cast<std::size_t>(std::max(effect.numInputs, 0)),
                   std::vector<float>(length, 0.0f));
    outputs_.assign(static_cast<std::size_t>(std::max(effect.numOutputs, 0)),
                    std::vector<float>(length, kOutputMarker));
    for (auto& channel : inputs_) {
        inputPointers_.push_back(channel.data());
    }
    for (auto& channel : outputs_) {
        outputPointers_.push_back(channel.data());
    }
    // Hosts pass at least one pointer even to a plug-in without inputs.
    inputPointers_.push_back(nullptr);
    outputPointers_.push_back(nullptr);
}

void AudioBuffers::fillNoise(std::mt19937_64& random, float peak) {
    for (auto& channel : inputs_) {
        for (float& sample : channel) {
            sample = uniform(random, -peak, peak);
        }
    }
    for (auto& channel : outputs_) {
        std::fill(channel.begin(), channel.end(), kOutputMarker);
    }
}

void AudioBuffers::fillSilence() {
    for (auto& channel : inputs_) {
        std::fill(channel.begin(), channel.end(), 0.0f);
    }
    for (auto& channel : outputs_) {
        std::fill(channel.begin(), channel.end(), kOutputMarker);
    }
}

float AudioBuffers::inputPeak() const {
    float peak = 0.0f;
    for (const auto& channel : inputs_) {
        for (float sample : channel) {
            peak = std::max(peak, std::fabs(sample));
        }
    }
    return peak;
}

std::string AudioBuffers::outputFault(float bound, VstInt32 frames) const {
    const std::size_t count = static_cast<std::size_t>(std::clamp(frames, 0, frames_));
    for (std::size_t channel = 0; channel < outputs_.size(); ++channel) {
        for (std::size_t frame = 0; frame < count; ++frame) {
            const float sample = outputs_[channel][frame];
            const char* fault = nullptr;
            if (std::isnan(sample)) {
                fault = "NaN";
            } else if (std::isinf(sample)) {
                fault = "infinity";
            } else if (sample == kOutputMarker) {
                fault = "output sample not written";
            } else if (std::fpclassify(sample) == FP_SUBNORMAL) {
                fault = "subnormal";
            } else if (std::fabs(sample) > bound) {
                fault = "above the bound";
            }
            if (fault != nullptr) {
                char text[160];
                std::snprintf(text, sizeof text, "%s at channel %zu frame %zu (%g, bound %g)",
                              fault, channel, frame, static_cast<double>(sample),
                              static_cast<double>(bound));
                return text;
            }
        }
    }
    return {};
}

float outputBound(hosting::HostedPlugin& plugin, float inputPeak, bool parametersRandomized) {
    const AEffect& effect = *plugin.effect();
    if (Context::isTarvokin(effect) && effect.numParams > 37) {
        // The gate's gain never exceeds 1; the output parameter scales it.
        const float level =
            parametersRandomized ? 1.0f : std::clamp(plugin.getParameter(37), 0.0f, 1.0f);
        return inputPeak * level * (1.0f + 1e-5f) + 1e-30f;
    }
    // Any plug-in at its defaults stays within 24 dB of its input; with random
    // settings (an equaliser at full boost) only a runaway counts.
    return (parametersRandomized ? 1000.0f : 16.0f) * inputPeak + 1.0f;
}

void processBlock(hosting::HostedPlugin& plugin, AudioBuffers& buffers, VstInt32 frames) {
    AEffect* effect = plugin.effect();
    effect->processReplacing(effect, buffers.inputs(), buffers.outputs(), frames);
}

std::string askBoundedText(hosting::HostedPlugin& plugin, VstInt32 opcode, VstInt32 index,
                           int limit, std::string* text, bool* answered) {
    std::array<unsigned char, 1024> buffer;
    buffer.fill(kMarker);
    plugin.dispatch(opcode, index, 0, buffer.data());
    const std::size_t allowed = static_cast<std::size_t>(limit) + 1;
    *answered =
        std::any_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b != kMarker; });
    const auto terminator = std::find(buffer.begin(), buffer.begin() + allowed, 0);
    if (text != nullptr) {
        *text = std::string(buffer.begin(), terminator);
    }
    if (!*answered) {
        return {};
    }
    std::size_t lastWritten = 0;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (buffer[i] != kMarker) {
            lastWritten = i;
        }
    }
    const auto describeText = [&] {
        const auto end = std::find(buffer.begin(), buffer.end(), 0);
        // Built by appending: GCC 12's -Wrestrict misreads "\"" + string at -O3.
        std::string quoted(1, '"');
        quoted.append(buffer.begin(), end);
        quoted += '"';
        return quoted;
    };
    if (lastWritten >= allowed) {
        return "wrote " + std::to_string(lastWritten + 1) + " bytes into a buffer of " +
               std::to_string(allowed) + " (" + describeText() + ")";
    }
    if (terminator == buffer.begin() + allowed) {
        return "no terminator within " + std::to_string(allowed) + " bytes";
    }
    return {};
}

void setTransport(hosting::HostedPlugin& plugin, double sampleRate, double tempo, bool playing,
                  std::int64_t frame) {
    hosting::Transport transport;
    transport.tempo = tempo;
    transport.playing = playing;
    transport.sampleRate = sampleRate;
    plugin.state().timeInfo = hosting::timeInfoAt(transport, frame);
}

std::string describe(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace tarvokin::validate
