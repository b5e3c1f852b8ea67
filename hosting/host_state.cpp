#include "hosting/host_state.h"

namespace hosting {

VstTimeInfo defaultTimeInfo() {
    VstTimeInfo info{};
    info.sampleRate = 44100.0;
    info.tempo = 120.0;
    info.timeSigNumerator = 4;
    info.timeSigDenominator = 4;
    info.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
    return info;
}

} // namespace hosting
