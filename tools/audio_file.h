// Reading and writing audio files (WAV, FLAC, AIFF) through libsndfile, block
// by block, as stereo: a mono file reads as the same signal on both channels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag; // libsndfile's SNDFILE

namespace tarvokin {

// The file types written, chosen by the output name's extension: .wav
// (32-bit float), .flac and .aiff/.aif (24-bit). Empty for other names.
std::string audioFormatName(const std::string& path);

class AudioReader {
public:
    // Throws std::runtime_error naming the file and the reason when it cannot
    // be read, or has no frames, more than two channels or no sample rate.
    explicit AudioReader(const std::string& path);
    ~AudioReader();
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    std::int64_t frames() const { return frames_; }

    // Reads up to maxFrames frames into left and right; answers how many
    // were read (0 at the end). Throws on a read error.
    int read(float* left, float* right, int maxFrames);

private:
    std::string path_;
    sf_private_tag* file_ = nullptr;
    int sampleRate_ = 0;
    int channels_ = 0;
    std::int64_t frames_ = 0;
    std::vector<float> interleaved_;
};

// Writes a stereo file under a temporary name next to the final one and
// renames it into place only on commit(), so a failed run leaves no partial
// file behind (and an existing file at that name stays as it was).
class AudioWriter {
public:
    // Throws std::runtime_error when the type is unknown or the file cannot
    // be created.
    AudioWriter(const std::string& path, int sampleRate);
    ~AudioWriter(); // removes the temporary file unless committed
    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    void write(const float* left, const float* right, int frames);
    void commit();

private:
    std::string path_;
    std::string temporaryPath_;
    sf_private_tag* file_ = nullptr;
    std::vector<float> interleaved_;
};

} // namespace tarvokin
