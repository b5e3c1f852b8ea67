// Audio files in a build without libsndfile (the Windows cross build): every
// attempt reports that, so render and demo fail with a clear message.
#include "tools/audio_file.h"

#include <stdexcept>

namespace tarvokin {
namespace {

[[noreturn]] void unavailable() {
    throw std::runtime_error("this build of tarvokin has no audio file support (libsndfile)");
}

} // namespace

std::string audioFormatName(const std::string& /*path*/) {
    return "unavailable";
}

AudioReader::AudioReader(const std::string& path) : path_(path) {
    unavailable();
}
AudioReader::~AudioReader() = default;
int AudioReader::read(float*, float*, int) {
    unavailable();
}

AudioWriter::AudioWriter(const std::string& path, int) : path_(path) {
    unavailable();
}
AudioWriter::~AudioWriter() = default;
void AudioWriter::write(const float*, const float*, int) {
    unavailable();
}
void AudioWriter::commit() {
    unavailable();
}

} // namespace tarvokin
