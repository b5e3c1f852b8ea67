// The extension layer of the dispatcher: opcodes 25 to 79; every other opcode
// goes to the base layer unchanged.
//
// Bad input is answered 0 without calling anything:
// - a null ptr (or, for the speaker-arrangement opcodes, a null value
//   pointer) for an opcode that reads or writes through it;
// - offline counts outside 0 .. INT32_MAX;
// - editor opcodes while no editor is attached.
// Other value arguments given to int32 parameters keep their low 32 bits.
#include "host/aeff_editor.h"
#include "host/audio_effect_x.h"
#include "host/dispatch_arguments.h"

using dispatch_arguments::answer;
using dispatch_arguments::fitsInt32;
using dispatch_arguments::narrow;

namespace {

bool isCount(VstIntPtr value) {
    return value >= 0 && fitsInt32(value);
}

} // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    auto* text = static_cast<char*>(ptr);
    const bool hasPtr = ptr != nullptr;
    switch (opcode) {
    case effProcessEvents:
        return hasPtr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
        return answer(canParameterBeAutomated(index));
    case effString2Parameter:
        return hasPtr && answer(string2parameter(index, text));
    case effGetProgramNameIndexed:
        return hasPtr && answer(getProgramNameIndexed(narrow(value), index, text));
    case effGetInputProperties:
        return hasPtr && answer(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
        return hasPtr && answer(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
        return getPlugCategory();
    case effOfflineNotify:
        return hasPtr && isCount(value) &&
               answer(offlineNotify(static_cast<VstAudioFile*>(ptr), narrow(value), index != 0));
    case effOfflinePrepare:
        return hasPtr && isCount(value) &&
               answer(offlinePrepare(static_cast<VstOfflineTask*>(ptr), narrow(value)));
    case effOfflineRun:
        return hasPtr && isCount(value) &&
               answer(offlineRun(static_cast<VstOfflineTask*>(ptr), narrow(value)));
    case effProcessVarIo:
        return hasPtr && answer(processVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return hasPtr && value != 0 &&
               answer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                            static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBypass:
        return answer(setBypass(value != 0));
    case effGetEffectName:
        return hasPtr && answer(getEffectName(text));
    case effGetVendorString:
        return hasPtr && answer(getVendorString(text));
    case effGetProductString:
        return hasPtr && answer(getProductString(text));
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        // Opaque to us: the arguments mean whatever the vendor agreed on.
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        // Passed on even when null: an effect's canDo must not read a null text,
        // and one that answers without reading (like ours) gives the same answer.
        return canDo(text);
    case effGetTailSize:
        return getGetTailSize();
    case effGetParameterProperties:
        return hasPtr &&
               answer(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
        if (editor == nullptr) {
            return 0;
        }
        VstKeyCode key = dispatch_arguments::keyCode(index, value, opt);
        return answer(opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key));
    }
    case effSetEditKnobMode:
        return editor != nullptr && answer(editor->setKnobMode(narrow(value)));
    case effGetMidiProgramName:
        return hasPtr ? getMidiProgramName(index, static_cast<MidiProgramName*>(ptr)) : 0;
    case effGetCurrentMidiProgram:
        return hasPtr ? getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr)) : 0;
    case effGetMidiProgramCategory:
        return hasPtr ? getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr)) : 0;
    case effHasMidiProgramsChanged:
        return answer(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
        return hasPtr && answer(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
        return answer(beginSetProgram());
    case effEndSetProgram:
        return answer(endSetProgram());
    case effGetSpeakerArrangement:
        return hasPtr && value != 0 &&
               answer(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                            static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
        return hasPtr ? getNextShellPlugin(text) : 0;
    case effStartProcess:
        return startProcess();
    case effStopProcess:
        return stopProcess();
    case effSetTotalSampleToProcess:
        return setTotalSampleToProcess(narrow(value));
    case effSetPanLaw:
        return answer(setPanLaw(narrow(value), opt));
    case effBeginLoadBank:
        return hasPtr ? beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
    case effBeginLoadProgram:
        return hasPtr ? beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
    case effSetProcessPrecision:
        return answer(setProcessPrecision(narrow(value)));
    case effGetNumMidiInputChannels:
        return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
        return getNumMidiOutputChannels();
    case effGetNumProgramCategories:
    case effCopyProgram:
    case effConnectInput:
    case effConnectOutput:
    case effGetCurrentPosition:
    case effGetDestinationBuffer:
    case effSetBlockSizeAndSampleRate:
    case effGetErrorText:
    case effIdle:
    case effGetIcon:
    case effSetViewPosition:
    case effKeysRequired:
        return 0; // deprecated: answered without calling anything
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}
