// AudioEffect: the effect base class. It owns the AEffect record the host talks
// to, forwards every host call to a virtual operation of the one effect object,
// and wraps the host callback. Virtual operations are declared in slot order.
#pragma once

#include "host/vst_abi.h"

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float newSampleRate);
    virtual void setBlockSize(VstInt32 newBlockSize);

    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);

    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index);
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram();
    virtual void setProgram(VstInt32 program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(VstInt32 index, char* label);
    virtual void getParameterDisplay(VstInt32 index, char* text);
    virtual void getParameterName(VstInt32 index, char* text);
    virtual VstInt32 getChunk(void** data, bool isPreset);
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset);

    virtual void setUniqueID(VstInt32 iD);
    virtual void setNumInputs(VstInt32 inputs);
    virtual void setNumOutputs(VstInt32 outputs);
    virtual void canProcessReplacing(bool state);
    virtual void canDoubleReplacing(bool state);
    virtual void programsAreChunks(bool state);
    virtual void setInitialDelay(VstInt32 delay);

    virtual AEffEditor* getEditor();
    virtual AEffect* getAeffect();
    virtual float getSampleRate();
    virtual VstInt32 getBlockSize();

    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);

    virtual void dB2string(float value, char* text, VstInt32 maxLen);
    virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
    virtual void ms2string(float samples, char* text, VstInt32 maxLen);
    virtual void float2string(float value, char* text, VstInt32 maxLen);
    virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);

    // Deprecated operations kept for their slots.
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames);
    virtual float getVu();
    virtual void hasVu(bool state);
    virtual void hasClip(bool state);
    virtual void canMono(bool state);
    virtual void setRealtimeQualities(VstInt32 qualities);
    virtual void setOfflineQualities(VstInt32 qualities);

    // Attaches an editor (owned from then on) and announces it in the record.
    void setEditor(AEffEditor* newEditor);

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

protected:
    // Sets or clears one bit of the record's flags; the state is read as a byte,
    // any non-zero byte meaning set.
    void setFlag(VstInt32 bit, bool state);
    // Sends one request through the host callback with this effect's record.
    // Without a callback nothing is sent and the answer is 0, which every
    // wrapper's result mapping turns into its fixed no-host result.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    audioMasterCallback audioMaster;
    AEffEditor* editor;
    // Written on the UI thread, read on the audio thread: access both through
    // loadRelaxed / storeRelaxed (host/relaxed.h).
    float sampleRate;
    VstInt32 blockSize;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram;
    AEffect cEffect;
};

// Supplied by the plug-in: allocates and constructs one effect object, or
// answers null when that fails. Never throws.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

// The library's module handle, kept by the load hook for the GUI library's
// resource and window-class code.
extern void* hInstance;
