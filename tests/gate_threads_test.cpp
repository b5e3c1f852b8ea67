// Parameters and programs changed from other threads while the audio thread
// processes, as hosts do: no lock, no torn value, clean output throughout.
// Run under ThreadSanitizer by the "threads" label.
#include "tests/gate_harness.h"

#include <atomic>
#include <cmath>
#include <random>
#include <thread>

namespace {

TEST(GateThreads, ParameterAndProgramChangesDuringProcessing) {
    auto plugin = newGatePlugin();
    plugin->open();
    plugin->prepareToPlay(44100, 256);

    std::atomic<bool> done{false};
    std::atomic<int> badSamples{0};
    std::atomic<int> tornValues{0};

    std::thread audio([&] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        for (int block = 0; block < 3000; ++block) {
            for (int i = 0; i < 256; ++i) {
                left[i] = noise(random);
                right[i] = noise(random);
            }
            // Every other block in place, as some hosts do.
            plugin->processReplacing(in, block % 2 == 0 ? out : in, 256);
            const std::vector<float>& l = block % 2 == 0 ? outLeft : left;
            for (int i = 0; i < 256; ++i) {
                if (!std::isfinite(l[i]) || std::fabs(l[i]) > 1.0f) {
                    badSamples.fetch_add(1, std::memory_order_relaxed);
                }
            }
        }
        done = true;
    });

    // Changes every parameter within its range and switches programs.
    std::thread ui([&] {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> index(0, 37);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        for (int change = 0; !done; ++change) {
            if (change % 97 == 0) {
                plugin->dispatch(effSetProgram, 0, change / 97 % 8);
            }
            const int target = index(random);
            if (target != 5) {
                plugin->setParameter(target, value(random));
            }
        }
    });

    // Parameter 5 only ever holds 0 (the programs' value), 0.25 or 0.75: any
    // other value read back would be a torn write.
    std::thread automation([&] {
        for (int change = 0; !done; ++change) {
            plugin->setParameter(5, change % 2 == 0 ? 0.25f : 0.75f);
            const float read = plugin->getParameter(5);
            if (read != 0.0f && read != 0.25f && read != 0.75f) {
                tornValues.fetch_add(1, std::memory_order_relaxed);
            }
        }
    });

    audio.join();
    ui.join();
    automation.join();
    EXPECT_EQ(badSamples.load(), 0);
    EXPECT_EQ(tornValues.load(), 0);
    plugin->suspend();
    plugin->close();
}

} // namespace
