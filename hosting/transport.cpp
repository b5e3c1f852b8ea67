#include "hosting/transport.h"

#include <cmath>

namespace hosting {

double beatAt(const Transport& transport, std::int64_t frame) {
    const bool usable = std::isfinite(transport.tempo) && transport.tempo > 0.0 &&
                        std::isfinite(transport.sampleRate) && transport.sampleRate > 0.0;
    if (!usable) {
        return transport.startBeat;
    }
    // frame * tempo is exact for any realistic song length (below 2^53), so the
    // quotient is the correctly rounded beat: frame 22050 at 120 bpm and
    // 44100 Hz is beat 1.0, not 0.9999...
    return transport.startBeat +
           static_cast<double>(frame) * transport.tempo / (60.0 * transport.sampleRate);
}

VstTimeInfo timeInfoAt(const Transport& transport, std::int64_t frame) {
    VstTimeInfo info{};
    info.samplePos = static_cast<double>(frame);
    info.sampleRate = transport.sampleRate;
    info.ppqPos = beatAt(transport, frame);
    info.tempo = transport.tempo;
    info.timeSigNumerator = 4;
    info.timeSigDenominator = 4;
    info.flags = kVstPpqPosValid | kVstTempoValid;
    if (transport.playing) {
        info.flags |= kVstTransportPlaying;
    }
    return info;
}

} // namespace hosting
