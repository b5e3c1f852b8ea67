// tarvokin demo: a few bars of a built-in pad, written dry and through the
// plug-in with settings that show what the gate does.
#include "tools/audio_file.h"
#include "tools/command.h"
#include "tools/render_session.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>

namespace tarvokin {
namespace {

constexpr int kSampleRate = 44100;
constexpr double kTempo = 120.0;
constexpr int kBeats = 16; // four bars of 4/4

struct Stereo {
    std::vector<float> left, right;
};

// A sustained A minor 9 chord of soft saw-like voices, each channel slightly
// detuned from the other, fading in and out.
Stereo synthesizePad() {
    const double notes[] = {110.0, 130.81, 164.81, 196.0, 246.94};
    const int frames = static_cast<int>(kBeats * 60.0 / kTempo * kSampleRate);
    Stereo pad{std::vector<float>(frames), std::vector<float>(frames)};
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<float>& out = channel == 0 ? pad.left : pad.right;
        const double detune = channel == 0 ? 0.9985 : 1.0015;
        for (int i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            double sample = 0.0;
            for (double note : notes) {
                for (int harmonic = 1; harmonic <= 6; ++harmonic) {
                    sample +=
                        std::sin(2.0 * std::numbers::pi * note * detune * harmonic * t) / harmonic;
                }
            }
            const double fadeIn = std::min(1.0, t / 0.4);
            const double fadeOut = std::min(1.0, (frames - i) / (0.6 * kSampleRate));
            out[i] = static_cast<float>(0.09 * sample * fadeIn * fadeOut);
        }
    }
    return pad;
}

struct DemoTake {
    const char* file;
    const char* description;
    std::vector<std::string> settings;
};

const std::vector<DemoTake>& demoTakes() {
    static const std::vector<DemoTake> takes = {
        {"default.wav", "the default program: every other 1/16 step of 8 opens", {}},
        {"probability.wav",
         "16 steps of 1/16, each with its own chance to open, 60% duration",
         {"Step=16", "Duratio=60", "Prob1=100", "Prob2=35", "Prob3=70", "Prob4=20", "Prob5=100",
          "Prob6=50", "Prob7=25", "Prob8=80", "Prob9=100", "Prob10=30", "Prob11=65", "Prob12=15",
          "Prob13=90", "Prob14=45", "Prob15=60", "Prob16=40"}},
        {"triplets-legato.wav",
         "12 steps of 1/8 triplets, short gates, legato steps 3-4 and 9 held through",
         {"Note=1/8T", "Step=12", "Duratio=35", "Prob1=100", "Prob2=0", "Prob3=100", "Prob4=100",
          "Prob5=0", "Prob6=100", "Prob7=100", "Prob8=0", "Prob9=100", "Prob10=100", "Prob11=0",
          "Prob12=100", "Legat3=1", "Legat4=1", "Legat9=1"}},
        {"mix.wav",
         "1/8 steps at half duration, the closed gate kept at 40% (a softer pump)",
         {"Note=1/8", "Duratio=50", "Gateoff=40", "Output=90"}},
    };
    return takes;
}

void writeStereo(const std::string& path, const Stereo& audio) {
    AudioWriter writer(path, kSampleRate);
    writer.write(audio.left.data(), audio.right.data(), static_cast<int>(audio.left.size()));
    writer.commit();
}

Stereo renderTake(const std::string& plugin, const DemoTake& take, const Stereo& dry) {
    RenderSettings settings;
    settings.pluginPath = plugin;
    settings.tempo = kTempo;
    settings.program = 0;
    settings.settings = take.settings;
    RenderSession session(settings, kSampleRate);
    Stereo wet = dry;
    const int total = static_cast<int>(dry.left.size());
    for (int start = 0; start < total; start += session.blockSize()) {
        const int frames = std::min(session.blockSize(), total - start);
        session.process(dry.left.data() + start, dry.right.data() + start, wet.left.data() + start,
                        wet.right.data() + start, frames);
    }
    return wet;
}

} // namespace

int runDemo(std::span<const std::string> args) {
    const Options options(args, {"--plugin"});
    if (options.positional().size() > 1) {
        throw UsageError("takes at most one folder");
    }
    const std::filesystem::path folder =
        options.positional().empty() ? "demo-out" : options.positional().front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create " + folder.string() + ": " + error.message());
    }
    const std::string plugin = pluginPath(options);

    const Stereo dry = synthesizePad();
    // Every take is rendered before anything is written, so a plug-in that
    // fails leaves no half-filled folder.
    std::vector<Stereo> wet;
    for (const DemoTake& take : demoTakes()) {
        wet.push_back(renderTake(plugin, take, dry));
    }
    const auto report = [](const std::filesystem::path& path, const char* what) {
        std::printf("wrote %-34s %s\n", path.string().c_str(), what);
    };
    writeStereo((folder / "dry.wav").string(), dry);
    report(folder / "dry.wav", "the input: four bars of a sustained A minor 9 pad");
    for (std::size_t i = 0; i < wet.size(); ++i) {
        const DemoTake& take = demoTakes()[i];
        writeStereo((folder / take.file).string(), wet[i]);
        report(folder / take.file, take.description);
    }
    std::printf("%d bars at %.0f bpm, %d Hz, through %s\n", kBeats / 4, kTempo, kSampleRate,
                plugin.c_str());
    return 0;
}

} // namespace tarvokin
