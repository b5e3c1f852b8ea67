// Randomized songs through the built module against the reference model:
// seeds, tempi, sample rates, block sizes 1..4096, note values, step counts,
// legato, duration, mix, declick, transport stops and jumps, parameter and
// sample-rate changes between blocks, in place and not. Bit for bit.
#include "tests/gate_harness.h"

#include <random>

namespace {

class SongGenerator {
public:
    explicit SongGenerator(std::uint32_t seed) : random_(seed) {}

    GateScenario song() {
        GateScenario scenario;
        scenario.signalSeed = static_cast<std::uint32_t>(random_());
        for (int index = 0; index < kGateParams; ++index) {
            scenario.values[index] = parameterValue(index);
        }
        scenario.sampleRate = pick({8000, 22050, 32000, 44100, 48000, 88200, 96000, 192000});
        int sampleRate = scenario.sampleRate;
        double tempo = tempoValue();
        double beat = between(0.0, 1.0) < 0.3 ? between(0.0, 5000.0) : 0.0;
        const int blocks = integer(1, 30);
        const int usualSize = integer(1, 4096);
        for (int b = 0; b < blocks; ++b) {
            GateBlock block;
            block.frames = chance(0.7) ? usualSize : integer(1, 4096);
            if (chance(0.1)) {
                tempo = tempoValue();
            }
            if (chance(0.08)) {
                beat = between(0.0, 10000.0); // a relocation or loop
            }
            if (chance(0.04)) {
                sampleRate = pick({22050, 44100, 48000, 96000});
                block.newSampleRate = sampleRate;
            }
            block.tempo = tempo;
            block.ppqPos = beat;
            block.playing = !chance(0.1);
            block.hasTime = !chance(0.05);
            block.inPlace = chance(0.5);
            const int changes = chance(0.3) ? integer(1, 4) : 0;
            for (int c = 0; c < changes; ++c) {
                const int index = integer(0, kGateParams - 1);
                block.parameters.emplace_back(index, parameterValue(index));
            }
            scenario.blocks.push_back(block);
            beat += block.frames * tempo / (60.0 * sampleRate);
        }
        return scenario;
    }

private:
    bool chance(double p) { return between(0.0, 1.0) < p; }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    int integer(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    int pick(std::initializer_list<int> values) {
        return values.begin()[integer(0, static_cast<int>(values.size()) - 1)];
    }
    double tempoValue() { return chance(0.05) ? 0.0 : between(20.0, 300.0); }

    // Host values within 0..1, with the ends and the switch points often.
    float parameterValue(int index) {
        if (index >= 16 && index <= 34 && index != 32 && index != 33) {
            return chance(0.5) ? 1.0f : 0.0f; // legato and declick switches
        }
        if (index == 32) {
            return stepCountValue(integer(1, 16));
        }
        if (index == 33) {
            return noteValue(integer(0, 7));
        }
        if (chance(0.3)) {
            return chance(0.5) ? 1.0f : 0.0f;
        }
        return static_cast<float>(between(0.0, 1.0));
    }

    std::mt19937 random_;
};

TEST(GateRandomized, SongsMatchTheModelBitForBit) {
    SongGenerator generator(20240611);
    for (int song = 0; song < 300; ++song) {
        const GateScenario scenario = generator.song();
        const GateOutput plugin = renderPlugin(scenario);
        ASSERT_TRUE(sameSamples(plugin, renderModel(scenario))) << "song " << song;
        ASSERT_TRUE(allClean(plugin.left)) << "song " << song;
        ASSERT_TRUE(allClean(plugin.right)) << "song " << song;
    }
}

} // namespace
