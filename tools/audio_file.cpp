#include "tools/audio_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sndfile.h>
#include <stdexcept>
#include <unistd.h>

namespace tarvokin {
namespace {

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

int formatFor(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".wav") {
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT; // the plug-in's samples, unrounded
    }
    if (extension == ".flac") {
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    if (extension == ".aiff" || extension == ".aif") {
        return SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
    }
    return 0;
}

} // namespace

std::string audioFormatName(const std::string& path) {
    switch (formatFor(path) & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
        return "WAV 32-bit float";
    case SF_FORMAT_FLAC:
        return "FLAC 24-bit";
    case SF_FORMAT_AIFF:
        return "AIFF 24-bit";
    default:
        return {};
    }
}

AudioReader::AudioReader(const std::string& path) : path_(path) {
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (file_ == nullptr) {
        std::error_code error;
        const bool exists = std::filesystem::exists(path, error);
        throw std::runtime_error("cannot read " + path + ": " +
                                 (exists ? sf_strerror(nullptr) : "no such file"));
    }
    sampleRate_ = info.samplerate;
    channels_ = info.channels;
    frames_ = info.frames;
    std::string problem;
    if (channels_ < 1 || channels_ > 2) {
        problem = std::to_string(channels_) + " channels (only mono and stereo are rendered)";
    } else if (sampleRate_ <= 0) {
        problem = "no sample rate";
    } else if (frames_ <= 0) {
        problem = "no audio frames";
    }
    if (!problem.empty()) {
        sf_close(file_);
        file_ = nullptr;
        throw std::runtime_error("cannot render " + path + ": " + problem);
    }
}

AudioReader::~AudioReader() {
    if (file_ != nullptr) {
        sf_close(file_);
    }
}

int AudioReader::read(float* left, float* right, int maxFrames) {
    interleaved_.resize(static_cast<std::size_t>(maxFrames) * channels_);
    const sf_count_t got = sf_readf_float(file_, interleaved_.data(), maxFrames);
    if (got < 0 || (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR)) {
        throw std::runtime_error("cannot read " + path_ + ": " + sf_strerror(file_));
    }
    for (sf_count_t i = 0; i < got; ++i) {
        left[i] = interleaved_[i * channels_];
        right[i] = interleaved_[i * channels_ + channels_ - 1]; // mono: the same sample
    }
    return static_cast<int>(got);
}

AudioWriter::AudioWriter(const std::string& path, int sampleRate) : path_(path) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = formatFor(path);
    if (info.format == 0) {
        throw std::runtime_error("cannot write " + path +
                                 ": unknown file type (use .wav, .flac, .aiff or .aif)");
    }
    // Same folder, so the final rename stays on one file system.
    const std::filesystem::path final(path);
    // Appended piece by piece: GCC 12's -Wrestrict misreads "." + string at -O3.
    std::string hidden = ".";
    hidden += final.filename().string();
    hidden += ".partial-";
    hidden += std::to_string(static_cast<long>(getpid()));
    temporaryPath_ = (final.parent_path() / hidden).string();
    file_ = sf_open(temporaryPath_.c_str(), SFM_WRITE, &info);
    if (file_ == nullptr) {
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    // Float data beyond full scale is clipped by the integer formats, not wrapped.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() {
    if (file_ != nullptr) {
        sf_close(file_);
    }
    if (!temporaryPath_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporaryPath_, ignored);
    }
}

void AudioWriter::write(const float* left, const float* right, int frames) {
    interleaved_.resize(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        interleaved_[2 * i] = left[i];
        interleaved_[2 * i + 1] = right[i];
    }
    if (sf_writef_float(file_, interleaved_.data(), frames) != frames) {
        throw std::runtime_error("cannot write " + path_ + ": " + sf_strerror(file_));
    }
}

void AudioWriter::commit() {
    const int closed = sf_close(file_);
    file_ = nullptr;
    if (closed != 0) {
        throw std::runtime_error("cannot write " + path_ + ": " + sf_error_number(closed));
    }
    std::error_code error;
    std::filesystem::rename(temporaryPath_, path_, error);
    if (error) {
        throw std::runtime_error("cannot write " + path_ + ": " + error.message());
    }
    temporaryPath_.clear();
}

} // namespace tarvokin
