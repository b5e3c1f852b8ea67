// The gate's processing through the built module, as a host calls it, in
// blocks of 32, 512 and 4096 frames, beside a plain stereo gain loop over the
// same buffers as the floor. The per_frame counter is the time per stereo frame.
#include "hosting/hosting.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

struct StereoBuffers {
    explicit StereoBuffers(int frames)
        : left(frames), right(frames), outLeft(frames), outRight(frames) {
        std::mt19937 random(3);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (int i = 0; i < frames; ++i) {
            left[i] = noise(random);
            right[i] = noise(random);
        }
    }
    std::vector<float> left, right, outLeft, outRight;
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
};

void perFrame(benchmark::State& state, int frames) {
    state.counters["per_frame"] = benchmark::Counter(
        frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void gateProcessing(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    std::string error;
    auto module = hosting::PluginModule::load(TARVOKIN_MODULE_PATH, &error);
    if (!module) {
        state.SkipWithError(error.c_str());
        return;
    }
    auto plugin = hosting::HostedPlugin::create(*module, {}, &error);
    plugin->open();
    plugin->setParameter(35, 0.5f); // half-length gates: starts, closes and ramps all run
    plugin->prepareToPlay(44100, frames);
    StereoBuffers buffers(frames);
    const double beatsPerBlock = frames * 120.0 / (60.0 * 44100.0);
    for (auto _ : state) {
        plugin->processReplacing(buffers.in, buffers.out, frames);
        plugin->state().timeInfo.ppqPos += beatsPerBlock;
        benchmark::DoNotOptimize(buffers.outLeft.data());
        benchmark::ClobberMemory();
    }
    perFrame(state, frames);
    plugin->close();
}

// The floor: both channels scaled by one gain, nothing else.
void plainGain(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    StereoBuffers buffers(frames);
    float gain = 0.5f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gain);
        for (int i = 0; i < frames; ++i) {
            buffers.outLeft[i] = buffers.left[i] * gain;
            buffers.outRight[i] = buffers.right[i] * gain;
        }
        benchmark::DoNotOptimize(buffers.outLeft.data());
        benchmark::ClobberMemory();
    }
    perFrame(state, frames);
}

BENCHMARK(gateProcessing)->Arg(32)->Arg(512)->Arg(4096);
BENCHMARK(plainGain)->Arg(32)->Arg(512)->Arg(4096);

} // namespace

BENCHMARK_MAIN();
