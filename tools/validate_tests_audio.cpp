// Audio processing: the sample-rate x block-size matrix, automation inside
// blocks, parameters set from a second thread, and real-time safety of
// processReplacing.
#include "tools/validate_interposer.h"
#include "tools/validate_tests.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#define TK_VALIDATE_MXCSR 1
#endif

namespace tarvokin::validate {
namespace {

constexpr double kSampleRates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
constexpr VstInt32 kBlockSizes[] = {1, 32, 64, 128, 256, 512, 1024, 4096, 8192};
// Tempi from the slowest to the fastest a host offers, in a jumpy order.
constexpr double kTempi[] = {120.0, 20.0, 999.0, 87.5, 174.0, 60.0, 333.3};

std::string where(double sampleRate, VstInt32 blockSize) {
    return describe(sampleRate) + " Hz x " + std::to_string(blockSize) + " frames";
}

// Plays `seconds` of noise in blocks of `blockSize` (the announced size, or
// a larger one), changing tempo and transport as it goes. False after the
// first fault.
bool play(Context& context, hosting::HostedPlugin& plugin, double sampleRate, VstInt32 blockSize,
          double seconds, const std::string& label) {
    AudioBuffers buffers(*plugin.effect(), blockSize);
    const std::int64_t totalFrames = std::max<std::int64_t>(
        static_cast<std::int64_t>(seconds * sampleRate), 4 * static_cast<std::int64_t>(blockSize));
    const std::int64_t blocks = (totalFrames + blockSize - 1) / blockSize;
    for (std::int64_t block = 0; block < blocks; ++block) {
        // A quarter of the way in the transport stops, at half it plays
        // again; the tempo moves every eighth of the way.
        const bool playing = !(block * 4 >= blocks && block * 2 < blocks);
        const double tempo = kTempi[(block * 8 / std::max<std::int64_t>(blocks, 1)) % 7];
        setTransport(plugin, sampleRate, tempo, playing, block * blockSize);
        buffers.fillNoise(context.random(), 0.8f);
        processBlock(plugin, buffers, blockSize);
        const std::string fault =
            buffers.outputFault(outputBound(plugin, buffers.inputPeak(), false), blockSize);
        if (!fault.empty()) {
            context.fail(label + ", block " + std::to_string(block) + " (tempo " + describe(tempo) +
                         (playing ? ", playing" : ", stopped") + "): " + fault);
            return false;
        }
    }
    return true;
}

} // namespace

void testAudio(Context& context) {
    const double seconds = 0.02 + 0.02 * context.scaled(1, 10);
    const std::size_t rates = static_cast<std::size_t>(context.scaled(2, 5));
    for (std::size_t r = 0; r < rates; ++r) {
        const double sampleRate = kSampleRates[r];
        auto plugin = context.running(sampleRate, kBlockSizes[0]);
        for (VstInt32 blockSize : kBlockSizes) {
            plugin->suspend();
            plugin->prepareToPlay(sampleRate, blockSize);
            if (!play(context, *plugin, sampleRate, blockSize, seconds,
                      where(sampleRate, blockSize))) {
                return;
            }
        }
        // One block larger than announced.
        plugin->suspend();
        plugin->prepareToPlay(sampleRate, 512);
        if (!play(context, *plugin, sampleRate, 2048, 0.0,
                  where(sampleRate, 2048) + " after announcing 512")) {
            return;
        }
        // A host without time information.
        plugin->state().provideTimeInfo = false;
        if (!play(context, *plugin, sampleRate, 512, 0.0,
                  where(sampleRate, 512) + " without time info")) {
            return;
        }
    }
}

void testAutomation(Context& context) {
    auto plugin = context.running(44100.0, 512);
    const VstInt32 count = plugin->effect()->numParams;
    if (count <= 0) {
        context.skip("no parameters");
        return;
    }
    constexpr VstInt32 kSlice = 32;
    const int slices = context.scaled(200, 4000);
    AudioBuffers buffers(*plugin->effect(), kSlice);
    std::uniform_int_distribution<VstInt32> pickIndex(0, count - 1);
    std::uniform_int_distribution<int> pickCount(1, std::min(10, static_cast<int>(count)));
    for (int slice = 0; slice < slices; ++slice) {
        const int changes = pickCount(context.random());
        for (int change = 0; change < changes; ++change) {
            plugin->setParameter(pickIndex(context.random()), uniform(context.random(), 0, 1));
        }
        setTransport(*plugin, 44100.0, 140.0, true, static_cast<std::int64_t>(slice) * kSlice);
        buffers.fillNoise(context.random(), 0.8f);
        processBlock(*plugin, buffers, kSlice);
        const std::string fault =
            buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), true), kSlice);
        if (!fault.empty()) {
            context.fail("slice " + std::to_string(slice) + ": " + fault);
            return;
        }
    }
}

void testThreads(Context& context) {
    auto plugin = context.running(48000.0, 256);
    const AEffect& effect = *plugin->effect();
    const VstInt32 count = effect.numParams;
    const VstInt32 programs = effect.numPrograms;
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::string audioFault;
    std::thread audio([&] {
        std::mt19937_64 random(context.config().seed + 77);
        AudioBuffers buffers(effect, 256);
        // The time record is written only on this thread while it runs.
        for (std::int64_t block = 0; !stop.load() || block < 8; ++block) {
            setTransport(*plugin, 48000.0, 128.0, true, block * 256);
            buffers.fillNoise(random, 0.8f);
            processBlock(*plugin, buffers, 256);
            std::string fault =
                buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), true), 256);
            if (!fault.empty()) {
                audioFault = "block " + std::to_string(block) + ": " + fault;
                return;
            }
            blocks.fetch_add(1);
        }
    });
    const int changes = context.scaled(2000, 40000);
    std::uniform_int_distribution<VstInt32> pickIndex(0, std::max(count - 1, 0));
    std::uniform_int_distribution<VstInt32> pickProgram(0, std::max(programs - 1, 0));
    for (int change = 0; change < changes; ++change) {
        if (programs > 1 && change % 97 == 0) {
            plugin->setProgram(pickProgram(context.random()));
        } else if (count > 0) {
            const VstInt32 index = pickIndex(context.random());
            plugin->setParameter(index, uniform(context.random(), 0.0f, 1.0f));
            static_cast<void>(plugin->getParameter(index));
            if (change % 13 == 0) {
                static_cast<void>(plugin->parameterDisplay(index));
            }
        }
    }
    stop.store(true);
    audio.join();
    if (!audioFault.empty()) {
        context.fail("audio thread, " + audioFault);
    }
    if (blocks.load() == 0) {
        context.fail("the audio thread processed no block");
    }
}

void testRealtime(Context& context) {
    if (!interposerAvailable()) {
        context.skip("not in this build (sanitizers replace the allocator)");
        return;
    }
    watchModule(context.module());
    auto plugin = context.running(44100.0, 512);
    AEffect* effect = plugin->effect();

#if !defined(_WIN32)
    // The host side first: the time request the plug-in sends from inside
    // processReplacing must itself be free of allocation and locks. (On
    // Windows only the plug-in's own imports are watched, so the tool's
    // calls cannot be seen.)
    resetRealtimeViolations();
    {
        RealtimeWatch watch;
        static_cast<void>(hosting::hostCallback(effect, audioMasterGetTime, 0, 0x600, nullptr, 0));
    }
    if (realtimeViolationCount() > 0) {
        context.fail(std::string("the validator's own host callback calls ") +
                     firstRealtimeViolation() + " on a time request");
        return;
    }
#endif

    const double rates[] = {44100.0, 96000.0};
    const VstInt32 sizes[] = {1, 64, 512, 4096};
    const int blocksPerSetting = context.scaled(4, 32);
    const VstInt32 count = effect->numParams;
    std::uniform_int_distribution<VstInt32> pickIndex(0, std::max(count - 1, 0));
    for (double sampleRate : rates) {
        for (VstInt32 blockSize : sizes) {
            plugin->suspend();
            plugin->prepareToPlay(sampleRate, blockSize);
            AudioBuffers buffers(*effect, blockSize);
            for (int block = 0; block < blocksPerSetting; ++block) {
                const bool playing = block % 4 != 3;
                setTransport(*plugin, sampleRate, kTempi[block % 7], playing,
                             static_cast<std::int64_t>(block) * blockSize);
                if (count > 0) {
                    plugin->setParameter(pickIndex(context.random()),
                                         uniform(context.random(), 0.0f, 1.0f));
                }
                buffers.fillNoise(context.random(), 0.8f);
#if defined(TK_VALIDATE_MXCSR)
                // Flush-to-zero and denormals-are-zero belong to the caller.
                const unsigned callerState = _mm_getcsr();
#endif
                resetRealtimeViolations();
                {
                    RealtimeWatch watch;
                    effect->processReplacing(effect, buffers.inputs(), buffers.outputs(),
                                             blockSize);
                }
                const int calls = realtimeViolationCount();
#if defined(TK_VALIDATE_MXCSR)
                const unsigned after = _mm_getcsr();
                constexpr unsigned kFlushBits = 0x8040; // FTZ | DAZ
                if ((after & kFlushBits) != (callerState & kFlushBits)) {
                    _mm_setcsr(callerState);
                    context.fail(where(sampleRate, blockSize) +
                                 ": processReplacing changed the caller's FTZ/DAZ state");
                    return;
                }
#endif
                if (calls > 0) {
                    context.fail(where(sampleRate, blockSize) + ": processReplacing called " +
                                 firstRealtimeViolation() + " (" + std::to_string(calls) +
                                 " forbidden calls in one block)");
                    return;
                }
                const std::string fault =
                    buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), true), blockSize);
                if (!fault.empty()) {
                    context.fail(where(sampleRate, blockSize) + ": " + fault);
                    return;
                }
            }
        }
    }
}

} // namespace tarvokin::validate
