// The record's entry functions. A null record is answered like an unknown
// call (0, nothing done) rather than dereferenced: the host gave us nothing
// to forward to.
#include "host/effect_entries.h"

#include "host/audio_effect.h"

namespace {

AudioEffect* effectOf(AEffect* effect) {
    return effect == nullptr ? nullptr : static_cast<AudioEffect*>(effect->object);
}

} // namespace

namespace effect_entries {

VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt) {
    AudioEffect* object = effectOf(effect);
    if (object == nullptr) {
        return 0;
    }
    const VstIntPtr result = object->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        // The host is done with this instance: the record dies with the object.
        delete object;
        return 1;
    }
    return result;
}

void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (AudioEffect* object = effectOf(effect)) {
        object->process(inputs, outputs, sampleFrames);
    }
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (AudioEffect* object = effectOf(effect)) {
        object->setParameter(index, value);
    }
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
    AudioEffect* object = effectOf(effect);
    return object == nullptr ? 0.0f : object->getParameter(index);
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 sampleFrames) {
    if (AudioEffect* object = effectOf(effect)) {
        object->processReplacing(inputs, outputs, sampleFrames);
    }
}

void VSTCALLBACK processDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 sampleFrames) {
    if (AudioEffect* object = effectOf(effect)) {
        object->processDoubleReplacing(inputs, outputs, sampleFrames);
    }
}

} // namespace effect_entries
