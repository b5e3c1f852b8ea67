#include "tests/gate_harness.h"

#include "tests/gate_reference_model.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <thread>

std::array<float, kGateParams> defaultProgramValues() {
    std::array<float, kGateParams> values{};
    for (int step = 0; step < 16; ++step) {
        values[step] = step % 2 == 0 ? 1.0f : 0.0f;
    }
    values[32] = stepCountValue(8);
    values[33] = noteValue(2);
    values[34] = 1.0f;
    values[35] = 1.0f;
    values[36] = 1.0f;
    values[37] = 1.0f;
    return values;
}

float stepCountValue(int steps) {
    return static_cast<float>((steps - 1) / 15.0);
}

float noteValue(int note) {
    return static_cast<float>(note / 7.0);
}

std::vector<GateBlock> steadyBlocks(std::vector<int> sizes, double tempo, int sampleRate,
                                    double startBeat) {
    std::vector<GateBlock> blocks;
    std::int64_t frames = 0;
    for (int size : sizes) {
        GateBlock block;
        block.frames = size;
        block.tempo = tempo;
        block.ppqPos = startBeat + static_cast<double>(frames) * tempo / (60.0 * sampleRate);
        blocks.push_back(block);
        frames += size;
    }
    return blocks;
}

hosting::PluginModule& gateModule() {
    static std::unique_ptr<hosting::PluginModule> module = [] {
        std::string error;
        auto loaded = hosting::PluginModule::load(TARVOKIN_MODULE_PATH, &error);
        if (!loaded) {
            ADD_FAILURE() << "cannot load " << TARVOKIN_MODULE_PATH << ": " << error;
            std::abort();
        }
        return loaded;
    }();
    return *module;
}

std::unique_ptr<hosting::HostedPlugin> newGatePlugin() {
    std::string error;
    auto plugin = hosting::HostedPlugin::create(gateModule(), hosting::HostState{}, &error);
    if (!plugin) {
        ADD_FAILURE() << "no instance: " << error;
        std::abort();
    }
    return plugin;
}

void onFreshThread(const std::function<void()>& fn) {
    std::thread thread(fn);
    thread.join();
}

GateOutput scenarioInput(const GateScenario& scenario) {
    GateOutput input;
    std::mt19937 random(scenario.signalSeed);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (const GateBlock& block : scenario.blocks) {
        for (int i = 0; i < block.frames; ++i) {
            const bool ones = scenario.signal == GateSignal::ones;
            input.left.push_back(ones ? 1.0f : noise(random));
            input.right.push_back(ones ? 1.0f : noise(random));
        }
    }
    return input;
}

namespace {

VstTimeInfo blockTime(const GateBlock& block) {
    VstTimeInfo time = hosting::defaultTimeInfo();
    time.ppqPos = block.ppqPos;
    time.tempo = block.tempo;
    time.flags = kVstPpqPosValid | kVstTempoValid | (block.playing ? kVstTransportPlaying : 0);
    return time;
}

int largestBlock(const GateScenario& scenario) {
    int largest = 1;
    for (const GateBlock& block : scenario.blocks) {
        largest = std::max(largest, block.frames);
    }
    return largest;
}

} // namespace

GateOutput processScenario(hosting::HostedPlugin& plugin, const GateScenario& scenario,
                           const std::function<void()>& first) {
    const GateOutput input = scenarioInput(scenario);
    GateOutput output;
    output.left.resize(input.left.size());
    output.right.resize(input.right.size());
    const int blockSize = largestBlock(scenario);
    onFreshThread([&] {
        if (first) {
            first();
        }
        std::size_t start = 0;
        for (const GateBlock& block : scenario.blocks) {
            for (const auto& [index, value] : block.parameters) {
                plugin.setParameter(index, value);
            }
            if (block.newSampleRate != 0) {
                plugin.suspend();
                plugin.prepareToPlay(block.newSampleRate, blockSize);
            }
            plugin.state().provideTimeInfo = block.hasTime;
            plugin.state().timeInfo = blockTime(block);
            float* out[2] = {output.left.data() + start, output.right.data() + start};
            std::vector<float> left(input.left.begin() + start,
                                    input.left.begin() + start + block.frames);
            std::vector<float> right(input.right.begin() + start,
                                     input.right.begin() + start + block.frames);
            float* in[2] = {left.data(), right.data()};
            if (block.inPlace) {
                std::copy(left.begin(), left.end(), out[0]);
                std::copy(right.begin(), right.end(), out[1]);
                plugin.processReplacing(out, out, block.frames);
            } else {
                plugin.processReplacing(in, out, block.frames);
            }
            start += block.frames;
        }
    });
    return output;
}

void setScenarioValues(hosting::HostedPlugin& plugin, const GateScenario& scenario) {
    for (int index = 0; index < kGateParams; ++index) {
        plugin.setParameter(index, scenario.values[index]);
    }
}

GateOutput renderPlugin(const GateScenario& scenario) {
    auto plugin = newGatePlugin();
    plugin->open();
    setScenarioValues(*plugin, scenario);
    plugin->prepareToPlay(scenario.sampleRate, largestBlock(scenario));
    const GateOutput output = processScenario(*plugin, scenario);
    plugin->suspend();
    plugin->close();
    return output;
}

GateOutput renderModel(const GateScenario& scenario) {
    const GateOutput input = scenarioInput(scenario);
    GateOutput output;
    output.left.resize(input.left.size());
    output.right.resize(input.right.size());

    GateReferenceModel model;
    for (int index = 0; index < kGateParams; ++index) {
        model.setParameter(index, scenario.values[index]);
    }
    model.resume(static_cast<float>(scenario.sampleRate));
    std::size_t start = 0;
    for (const GateBlock& block : scenario.blocks) {
        for (const auto& [index, value] : block.parameters) {
            model.setParameter(index, value);
        }
        if (block.newSampleRate != 0) {
            model.resume(static_cast<float>(block.newSampleRate));
        }
        const VstTimeInfo time = blockTime(block);
        model.process(block.hasTime ? &time : nullptr, input.left.data() + start,
                      input.right.data() + start, output.left.data() + start,
                      output.right.data() + start, block.frames);
        start += block.frames;
    }
    return output;
}

::testing::AssertionResult sameSamples(const GateOutput& actual, const GateOutput& expected) {
    if (actual.left.size() != expected.left.size()) {
        return ::testing::AssertionFailure() << "lengths differ";
    }
    for (std::size_t i = 0; i < actual.left.size(); ++i) {
        const float pairs[2][2] = {{actual.left[i], expected.left[i]},
                                   {actual.right[i], expected.right[i]}};
        for (int channel = 0; channel < 2; ++channel) {
            if (std::bit_cast<std::uint32_t>(pairs[channel][0]) !=
                std::bit_cast<std::uint32_t>(pairs[channel][1])) {
                return ::testing::AssertionFailure()
                       << "channel " << channel << " differs first at sample " << i << ": plug-in "
                       << pairs[channel][0] << ", model " << pairs[channel][1];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult allClean(const std::vector<float>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float magnitude = std::fabs(samples[i]);
        if (!std::isfinite(samples[i]) || (magnitude != 0.0f && magnitude < FLT_MIN)) {
            return ::testing::AssertionFailure() << "sample " << i << " is " << samples[i];
        }
    }
    return ::testing::AssertionSuccess();
}
