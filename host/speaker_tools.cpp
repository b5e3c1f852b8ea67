// The speaker-arrangement tools of AudioEffectX. Arrangements are single
// malloc'ed blocks of the header and numChannels speaker records, released
// with free. Null places or records answer false and touch nothing.
#include "host/audio_effect_x.h"
#include "host/vst_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kSpeakerNameLength = 63;

} // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
    if (arrangement == nullptr) {
        return false;
    }
    // Whatever happens next, no stale arrangement stays behind.
    std::free(*arrangement);
    *arrangement = nullptr;
    if (nbChannels < 0) {
        return false;
    }
    const auto channels = static_cast<std::size_t>(nbChannels);
    if (channels > (SIZE_MAX - kSpeakerArrangementHeaderSize) / sizeof(VstSpeakerProperties)) {
        return false;
    }
    void* block =
        std::calloc(1, kSpeakerArrangementHeaderSize + sizeof(VstSpeakerProperties) * channels);
    if (block == nullptr) {
        return false;
    }
    auto* created = static_cast<VstSpeakerArrangement*>(block);
    created->numChannels = nbChannels;
    *arrangement = created;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement == nullptr) {
        return false;
    }
    std::free(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) {
        return false;
    }
    // The source name need not be terminated: at most 63 characters are read.
    vstStrncpy(to->name, from->name, kSpeakerNameLength);
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memmove(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (from == nullptr || to == nullptr) {
        return false;
    }
    if (*to == from) {
        return true; // already the same arrangement; releasing it would lose the source
    }
    if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels)) {
        return false;
    }
    (*to)->type = from->type;
    for (VstInt32 channel = 0; channel < from->numChannels; ++channel) {
        if (!copySpeaker(speakerAt(*to, channel), speakerAt(from, channel))) {
            return false;
        }
    }
    return true;
}
