// The effect object's life: construction, destruction, identity towards the
// host, and the factory the entry point calls.
#include "engine/tarvokin.h"

#include "engine/editor_factory.h"
#include "host/aeff_editor.h"
#include "host/vst_text.h"

#include <new>

namespace {
constexpr VstInt32 kUniqueId = ('t' << 24) | ('k' << 16) | ('6' << 8) | '7';
constexpr VstInt32 kVendorVersion = 1000;
constexpr char kEffectName[] = "Tarvokin";
constexpr char kVendorName[] = "mirel-dovka";
constexpr char kProductName[] = "Tarvokin";
constexpr std::size_t kEffectNameLength = 32;
constexpr std::size_t kVendorTextLength = 64;
} // namespace

Tarvokin::Tarvokin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams), programs(nullptr), currentSet{},
      stepLength(0.0), rampSampleRate(44100.0), gain(0.0), declickTime(0.0), rampIncrement(0.0),
      rampTarget(0.0), stepLevel(0.0), stepLegato(false) {
    canProcessReplacing(true);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);

    // Without its bank the object is useless; the factory sees the missing
    // bank and discards the object, so nothing below runs half-built.
    programs = new (std::nothrow) TarvokinProgram[kNumPrograms];
    if (programs == nullptr) {
        return;
    }
    try {
        setProgram(0); // no editor exists yet, so this first load tells none
        attachEditor();
        // Virtual call from the constructor: resolves to Tarvokin::resume, which
        // takes the sample rate for the declick ramp.
        resume();
    } catch (...) {
        // The destructor does not run for an object whose constructor throws.
        delete[] programs;
        programs = nullptr;
        throw;
    }
}

void Tarvokin::attachEditor() {
    // The effect works without its panel, so a failing editor only costs the
    // panel. An editor attaches itself; attaching again only confirms it.
    try {
        if (AEffEditor* created = createTarvokinEditor(this); created != nullptr) {
            setEditor(created);
        }
    } catch (...) {
        setEditor(nullptr); // an editor that attached itself before failing is gone
    }
}

Tarvokin::~Tarvokin() {
    delete[] programs; // the base's destructor deletes the editor afterwards
}

bool Tarvokin::getEffectName(char* name) {
    if (name == nullptr) {
        return false;
    }
    vstStrncpy(name, kEffectName, kEffectNameLength);
    return true;
}

bool Tarvokin::getVendorString(char* text) {
    if (text == nullptr) {
        return false;
    }
    vstStrncpy(text, kVendorName, kVendorTextLength);
    return true;
}

bool Tarvokin::getProductString(char* text) {
    if (text == nullptr) {
        return false;
    }
    vstStrncpy(text, kProductName, kVendorTextLength);
    return true;
}

VstInt32 Tarvokin::getVendorVersion() {
    return kVendorVersion;
}

VstInt32 Tarvokin::canDo(char* /*text*/) {
    return -1; // no capability is claimed, whatever the text
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    // No exception may leave the library: any failure means no effect.
    try {
        auto* effect = new (std::nothrow) Tarvokin(audioMaster);
        if (effect != nullptr && effect->programs == nullptr) {
            delete effect;
            return nullptr;
        }
        return effect;
    } catch (...) {
        return nullptr;
    }
}
