// The six entry functions whose addresses the AEffect record carries. Each one
// finds the effect object through the record's object field and forwards the
// call to the virtual operation of the same role.
#pragma once

#include "host/vst_abi.h"

namespace effect_entries {

// Forwards to the object's dispatcher; after effClose it destroys the object
// and answers 1.
VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt);
void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value);
float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index);
void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 sampleFrames);
void VSTCALLBACK processDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 sampleFrames);

} // namespace effect_entries
