// tarvokin render end to end: the built tool renders a file through the built
// module; the written file is compared with the reference model, and bad
// command lines fail with one line, a non-zero exit and no output file.
#include "hosting/transport.h"
#include "tests/gate_harness.h"
#include "tests/gate_reference_model.h"

#include <filesystem>
#include <fstream>
#include <sndfile.h>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

class RenderTool : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("gate-render-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // A file of the given channels: left a slow ramp, right its negative.
    std::vector<float> writeInput(const std::string& name, int channels, int frames,
                                  int rate = 44100) {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path(name).c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr);
        std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
        for (int i = 0; i < frames; ++i) {
            const float value = 0.25f + 0.5f * static_cast<float>(i % 1000) / 1000.0f;
            samples[i * channels] = value;
            if (channels == 2) {
                samples[i * channels + 1] = -value;
            }
        }
        sf_writef_float(file, samples.data(), frames);
        sf_close(file);
        return samples;
    }

    GateOutput readOutput(const std::string& name, int* rate = nullptr) {
        SF_INFO info{};
        SNDFILE* file = sf_open(path(name).c_str(), SFM_READ, &info);
        EXPECT_NE(file, nullptr) << name;
        EXPECT_EQ(info.channels, 2);
        if (rate != nullptr) {
            *rate = info.samplerate;
        }
        std::vector<float> samples(static_cast<std::size_t>(info.frames) * 2);
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
        GateOutput out;
        for (sf_count_t i = 0; i < info.frames; ++i) {
            out.left.push_back(samples[2 * i]);
            out.right.push_back(samples[2 * i + 1]);
        }
        return out;
    }

    // Runs the tool; answers its exit code and keeps its error output.
    int run(const std::string& arguments) {
        const std::string command =
            std::string(TARVOKIN_TOOL_PATH) + " render " + arguments + " 2> " + path("stderr.txt");
        const int status = std::system(command.c_str());
        std::ifstream err(path("stderr.txt"));
        std::stringstream text;
        text << err.rdbuf();
        errors_ = text.str();
        fs::remove(path("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
    std::string errors_;
};

// What the tool should have written: the model fed the same blocks and time
// records, drawing from the start of the sequence as the tool's only thread.
GateOutput modelRender(const std::array<float, kGateParams>& values, const GateOutput& input,
                       hosting::Transport transport, int blockSize) {
    GateReferenceModel model;
    for (int index = 0; index < kGateParams; ++index) {
        model.setParameter(index, values[index]);
    }
    model.resume(static_cast<float>(transport.sampleRate));
    GateOutput out;
    out.left.resize(input.left.size());
    out.right.resize(input.right.size());
    const int total = static_cast<int>(input.left.size());
    for (int start = 0; start < total; start += blockSize) {
        const int frames = std::min(blockSize, total - start);
        const VstTimeInfo time = hosting::timeInfoAt(transport, start);
        model.process(&time, input.left.data() + start, input.right.data() + start,
                      out.left.data() + start, out.right.data() + start, frames);
    }
    return out;
}

TEST_F(RenderTool, GatesAStereoFileExactlyAsTheModelDoes) {
    const std::vector<float> samples = writeInput("in.wav", 2, 30000);
    ASSERT_EQ(run(path("in.wav") + " " + path("out.wav") +
                  " --tempo 90 --start-beat 2 --block 300 --set Step=3 --set Note=1/8T"
                  " --set Prob2=0 --set Duratio=50% --set Legat3=1 --set 36=0.75"),
              0)
        << errors_;
    GateOutput input;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
        input.left.push_back(samples[i]);
        input.right.push_back(samples[i + 1]);
    }
    std::array<float, kGateParams> values = defaultProgramValues();
    values[32] = stepCountValue(3);
    values[33] = noteValue(5);
    values[1] = 0.0f;
    values[35] = 0.5f;
    values[18] = 1.0f;
    values[36] = 0.75f;
    hosting::Transport transport;
    transport.tempo = 90.0;
    transport.startBeat = 2.0;
    const GateOutput expected = modelRender(values, input, transport, 300);
    int rate = 0;
    const GateOutput out = readOutput("out.wav", &rate);
    EXPECT_EQ(rate, 44100);
    EXPECT_TRUE(sameSamples(out, expected));
}

// A mono file comes out on both channels; the default program at 120 bpm
// opens step 1 (beat 0 to 0.25) and closes step 2 to the off level 0.
TEST_F(RenderTool, MonoInputIsGatedOnBothChannels) {
    writeInput("mono.wav", 1, 12000, 48000);
    ASSERT_EQ(run(path("mono.wav") + " " + path("out.flac")), 0) << errors_;
    int rate = 0;
    const GateOutput out = readOutput("out.flac", &rate);
    EXPECT_EQ(rate, 48000);
    ASSERT_EQ(out.left.size(), 12000u);
    EXPECT_EQ(out.left, out.right);
    // 1/16 at 120 bpm and 48 kHz is 6000 samples; the ramps last 240.
    EXPECT_NEAR(out.left[3000], 0.25f + 0.5f * 0.0f, 1e-3); // sample 3000: i % 1000 == 0
    EXPECT_NEAR(out.left[5999], 0.25f + 0.5f * 0.999f, 1e-3);
    EXPECT_EQ(out.left[6300], 0.0f);
    EXPECT_EQ(out.left[11999], 0.0f);
}

TEST_F(RenderTool, StoppedTransportRestartsThePatternEveryBlock) {
    writeInput("in.wav", 2, 8000);
    ASSERT_EQ(run(path("in.wav") + " " + path("out.aiff") +
                  " --stopped --block 1000 --set Prob1=0 --set Prob2=100"),
              0)
        << errors_;
    const GateOutput out = readOutput("out.aiff");
    // Every block starts at step 1, which never opens: silence throughout.
    for (float sample : out.left) {
        ASSERT_EQ(sample, 0.0f);
    }
}

TEST_F(RenderTool, BadCommandLinesFailWithOneLineAndNoOutputFile) {
    writeInput("in.wav", 2, 1000);
    struct Case {
        std::string arguments;
        int exitCode;
        std::string message;
    };
    const std::string in = path("in.wav");
    const std::string out = path("out.wav");
    const Case cases[] = {
        {path("missing.wav") + " " + out, 1, "cannot read"},
        {path("stderr-not-audio.txt") + " " + out, 1, "cannot read"},
        {in + " " + out + " --set Nonsense=1", 1, "unknown parameter \"Nonsense\""},
        {in + " " + out + " --set Note=1/7", 1, "no value of Note shows \"1/7\""},
        {in + " " + out + " --set Step", 1, "--set needs NAME=VALUE"},
        {in + " " + out + " --set 38=0.5", 1, "no parameter 38"},
        {in + " " + out + " --tempo fast", 2, "--tempo takes"},
        {in + " " + out + " --tempo 0", 2, "--tempo takes"},
        {in + " " + out + " --block 0", 2, "--block takes"},
        {in + " " + out + " --block 12x", 2, "--block takes"},
        {in + " " + out + " --start-beat nan", 2, "--start-beat takes"},
        {in + " " + out + " --program 8", 1, "no program 8"},
        {in + " " + out + " --plugin " + in, 1, in},
        {in + " " + path("out.mp3"), 2, "unknown file type"},
        {in, 2, "needs an input and an output file"},
        {in + " " + out + " --volume 3", 2, "unknown option --volume"},
    };
    std::ofstream(path("stderr-not-audio.txt")) << "not audio";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(c.arguments), c.exitCode);
        EXPECT_EQ(errors_.rfind("tarvokin render: ", 0), 0u) << errors_;
        EXPECT_NE(errors_.find(c.message), std::string::npos) << errors_;
        EXPECT_EQ(std::count(errors_.begin(), errors_.end(), '\n'), 1) << errors_;
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{"in.wav", "stderr-not-audio.txt"}));
    }
}

TEST_F(RenderTool, AFailedRunLeavesAnExistingOutputAsItWas) {
    writeInput("in.wav", 2, 1000);
    std::ofstream(path("out.wav")) << "keep me";
    EXPECT_EQ(run(path("in.wav") + " " + path("out.wav") + " --set Note=1/7"), 1);
    std::ifstream kept(path("out.wav"));
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "keep me");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

} // namespace
