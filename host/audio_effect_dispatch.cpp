// The base layer of the dispatcher: opcodes 0 to 24, and 0 for everything no
// layer handles.
//
// Bad input is answered without calling anything:
// - a null ptr for an opcode that reads or writes through it answers 0;
// - effSetProgram outside 0 .. numPrograms - 1 (checked on the full value);
// - effSetSampleRate with a sample rate that is not finite and positive;
// - effSetBlockSize with a block size outside 1 .. INT32_MAX;
// - effSetChunk with a byte count outside 1 .. INT32_MAX;
// - editor opcodes while no editor is attached.
#include "host/aeff_editor.h"
#include "host/audio_effect.h"
#include "host/dispatch_arguments.h"

#include <cmath>

using dispatch_arguments::answer;

namespace {

// 'NvEf': the deprecated identify opcode still gets its classic answer.
constexpr VstIntPtr kIdentifyAnswer = 0x4E764566;

bool isUsableSampleRate(float rate) {
    return std::isfinite(rate) && rate > 0.0f;
}

bool isPositiveInt32(VstIntPtr value) {
    return value > 0 && value <= INT32_MAX;
}

} // namespace

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) {
            setProgram(static_cast<VstInt32>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text != nullptr) {
            setProgramName(text);
        }
        return 0;
    case effGetProgramName:
        if (text != nullptr) {
            getProgramName(text);
        }
        return 0;
    case effGetParamLabel:
        if (text != nullptr) {
            getParameterLabel(index, text);
        }
        return 0;
    case effGetParamDisplay:
        if (text != nullptr) {
            getParameterDisplay(index, text);
        }
        return 0;
    case effGetParamName:
        if (text != nullptr) {
            getParameterName(index, text);
        }
        return 0;
    case effSetSampleRate:
        if (isUsableSampleRate(opt)) {
            setSampleRate(opt);
        }
        return 0;
    case effSetBlockSize:
        if (isPositiveInt32(value)) {
            setBlockSize(static_cast<VstInt32>(value));
        }
        return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect:
        if (editor == nullptr || ptr == nullptr) {
            return 0;
        }
        return answer(editor->getRect(static_cast<ERect**>(ptr)));
    case effEditOpen:
        // The parent window is the editor's to judge, a null one included.
        return editor == nullptr ? 0 : answer(editor->open(ptr));
    case effEditClose:
        if (editor != nullptr) {
            editor->close();
        }
        return 0;
    case effEditIdle:
        if (editor != nullptr) {
            editor->idle();
        }
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        if (ptr == nullptr) {
            return 0;
        }
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        if (ptr == nullptr || !isPositiveInt32(value)) {
            return 0;
        }
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        // effGetVu, effEditDraw, effEditMouse, effEditKey, effEditTop and
        // effEditSleep are deprecated; unknown opcodes change nothing.
        return 0;
    }
}
