// A host's song position: where a block starts in beats, for the time record
// the host hands to the plug-in at the start of that block.
#pragma once

#include "host/vst_abi.h"

#include <cstdint>

namespace hosting {

struct Transport {
    double tempo = 120.0;        // beats per minute
    double startBeat = 0.0;      // position of frame 0, in quarter notes
    bool playing = true;         // kVstTransportPlaying
    double sampleRate = 44100.0; // frames per second
};

// The time record for a block that starts `frame` frames after the
// transport's start: samplePos = frame, ppqPos = startBeat + frame beats at
// the tempo, computed with a single rounding so that block starts on a beat
// give that beat exactly. The position advances whether or not the transport
// plays; a tempo or sample rate that is not a positive finite number leaves
// it at startBeat. Flags: kVstTransportPlaying when playing, always
// kVstPpqPosValid and kVstTempoValid.
VstTimeInfo timeInfoAt(const Transport& transport, std::int64_t frame);

// The position in quarter notes of the given frame.
double beatAt(const Transport& transport, std::int64_t frame);

} // namespace hosting
