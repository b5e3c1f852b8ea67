// tarvokin render: an audio file through a VST 2.4 effect, the way a host
// plays a song through it, into a new audio file.
#include "tools/audio_file.h"
#include "tools/command.h"
#include "tools/render_session.h"

#include <cstdio>
#include <unistd.h>

namespace tarvokin {
namespace {

// A progress line on a terminal, for files long enough to wait for.
class Progress {
public:
    Progress(std::int64_t total, int sampleRate)
        : total_(total), shown_(isatty(fileno(stderr)) != 0 && total > 20LL * sampleRate) {}
    ~Progress() {
        if (shown_ && percent_ >= 0) {
            std::fputc('\n', stderr);
        }
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void update(std::int64_t done) {
        if (!shown_) {
            return;
        }
        const int percent = static_cast<int>(done * 100 / total_);
        if (percent == percent_) {
            return;
        }
        percent_ = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\rrendering [%.*s%*s] %3d%%", filled,
                     "########################################", kWidth - filled, "", percent);
        std::fflush(stderr);
    }

private:
    std::int64_t total_;
    bool shown_;
    int percent_ = -1;
};

// The --set words, which may repeat; the other words go to Options.
std::vector<std::string> takeSettings(std::span<const std::string> args,
                                      std::vector<std::string>& rest) {
    std::vector<std::string> settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--set") {
            if (i + 1 >= args.size()) {
                throw UsageError("--set needs NAME=VALUE");
            }
            settings.push_back(args[++i]);
        } else if (args[i].rfind("--set=", 0) == 0) {
            settings.push_back(args[i].substr(6));
        } else {
            rest.push_back(args[i]);
        }
    }
    return settings;
}

} // namespace

int runRender(std::span<const std::string> args) {
    std::vector<std::string> rest;
    RenderSettings settings;
    settings.settings = takeSettings(args, rest);
    const Options options(rest, {"--plugin", "--tempo", "--start-beat", "--block", "--program"},
                          {"--stopped"});
    if (options.positional().size() != 2) {
        throw UsageError("needs an input and an output file");
    }
    const std::string& inputPath = options.positional()[0];
    const std::string& outputPath = options.positional()[1];
    if (audioFormatName(outputPath).empty()) {
        throw UsageError("cannot write " + outputPath +
                         ": unknown file type (use .wav, .flac, .aiff or .aif)");
    }
    settings.pluginPath = pluginPath(options);
    if (auto tempo = options.value("--tempo")) {
        settings.tempo = numberOption("--tempo", *tempo, 1.0, 999.0);
    }
    if (auto beat = options.value("--start-beat")) {
        settings.startBeat = numberOption("--start-beat", *beat, -1e6, 1e9);
    }
    if (auto block = options.value("--block")) {
        settings.blockSize = integerOption("--block", *block, 1, 65536);
    }
    if (auto program = options.value("--program")) {
        settings.program = integerOption("--program", *program, 0, 1 << 20);
    }
    settings.playing = !options.flag("--stopped");

    AudioReader reader(inputPath);
    RenderSession session(settings, reader.sampleRate());
    AudioWriter writer(outputPath, reader.sampleRate());

    const int block = session.blockSize();
    std::vector<float> left(block), right(block);
    Progress progress(reader.frames(), reader.sampleRate());
    std::int64_t done = 0;
    for (int got; (got = reader.read(left.data(), right.data(), block)) > 0;) {
        session.process(left.data(), right.data(), left.data(), right.data(), got);
        writer.write(left.data(), right.data(), got);
        done += got;
        progress.update(done);
    }
    writer.commit();
    return 0;
}

} // namespace tarvokin
