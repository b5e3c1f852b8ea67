// AudioEffectX: the VST 2.x extensions of the effect base. It adds no fields,
// handles dispatcher opcodes 25 to 79 and offers the extended host requests.
// Virtual operations are declared in slot order, after AudioEffect's.
#pragma once

#include "host/audio_effect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    virtual bool canParameterBeAutomated(VstInt32 index);
    virtual bool string2parameter(VstInt32 index, char* text);
    virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p);
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);
    virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text);
    virtual bool beginSetProgram();
    virtual bool endSetProgram();
    virtual VstInt32 beginLoadBank(VstPatchChunkInfo* ptr);
    virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* ptr);
    virtual bool ioChanged();
    virtual float updateSampleRate();
    virtual VstInt32 updateBlockSize();
    virtual VstInt32 getInputLatency();
    virtual VstInt32 getOutputLatency();
    virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties);
    virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                       VstSpeakerArrangement* pluginOutput);
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                       VstSpeakerArrangement** pluginOutput);
    virtual bool setBypass(bool onOff);
    virtual bool setPanLaw(VstInt32 type, float val);
    virtual bool setProcessPrecision(VstInt32 precision);
    virtual VstInt32 getNumMidiInputChannels();
    virtual VstInt32 getNumMidiOutputChannels();
    virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
    virtual VstInt32 getCurrentProcessLevel();
    virtual VstInt32 getAutomationState();
    virtual VstInt32 processEvents(VstEvents* events);
    virtual VstInt32 startProcess();
    virtual VstInt32 stopProcess();
    virtual bool processVariableIo(VstVariableIo* varIo);
    virtual VstInt32 setTotalSampleToProcess(VstInt32 value);
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual VstInt32 getHostVendorVersion();
    virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                         float floatArg);
    virtual VstInt32 canHostDo(char* text);
    virtual VstInt32 getHostLanguage();
    virtual void isSynth(bool state);
    virtual void noTail(bool state);
    virtual VstInt32 getGetTailSize();
    virtual void* getDirectory();
    virtual bool getEffectName(char* name);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual VstInt32 getVendorVersion();
    virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg);
    virtual VstInt32 canDo(char* text);
    virtual VstInt32 getVstVersion();
    virtual VstInt32 getPlugCategory();
    virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* midiProgramName);
    virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* currentProgram);
    virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category);
    virtual bool hasMidiProgramsChanged(VstInt32 channel);
    virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName);
    virtual bool updateDisplay();
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);
    virtual bool openFileSelector(VstFileSelect* ptr);
    virtual bool closeFileSelector(VstFileSelect* ptr);
    virtual VstInt32 getNextShellPlugin(char* name);
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);
    virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource);
    virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option);
    virtual bool offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles);
    virtual VstInt32 offlineGetCurrentPass();
    virtual VstInt32 offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* ptr, VstInt32 numAudioFiles, bool start);
    virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count);
    virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count);
    virtual VstInt32 offlineGetNumPasses();
    virtual VstInt32 offlineGetNumMetaPasses();

    // Deprecated operations kept for their slots.
    virtual void wantEvents(VstInt32 filter);
    virtual VstInt32 tempoAt(VstInt32 pos);
    virtual VstInt32 getNumAutomatableParameters();
    virtual VstInt32 getParameterQuantization();
    virtual VstInt32 getNumCategories();
    virtual bool copyProgram(VstInt32 destination);
    virtual bool needIdle();
    virtual AEffect* getPreviousPlug(VstInt32 input);
    virtual AEffect* getNextPlug(VstInt32 output);
    virtual void inputConnected(VstInt32 index, bool state);
    virtual void outputConnected(VstInt32 index, bool state);
    virtual VstInt32 willProcessReplacing();
    virtual void wantAsyncOperation(bool state);
    virtual void hasExternalBuffer(bool state);
    virtual VstInt32 reportCurrentPosition();
    virtual float* reportDestinationBuffer();
    virtual void setOutputSamplerate(float samplerate);
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
    virtual void* openWindow(void* window);
    virtual bool closeWindow(void* window);
    virtual void setBlockSizeAndSampleRate(VstInt32 blockSize, float sampleRate);
    virtual bool getErrorText(char* text);
    virtual void* getIcon();
    virtual bool setViewPosition(VstInt32 x, VstInt32 y);
    virtual VstInt32 fxIdle();
    virtual bool keysRequired();
    virtual bool getChunkFile(void* nativePath);
};
