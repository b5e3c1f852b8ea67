// Tarvokin: the effect object. It owns the program bank, the current parameter
// set and the gate state, and answers every host call of its instance.
#pragma once

#include "engine/parameter_block.h"
#include "host/audio_effect_x.h"

class Tarvokin : public AudioEffectX {
public:
    explicit Tarvokin(audioMasterCallback audioMaster);
    ~Tarvokin() override;

    void resume() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;

    // Sets stepLength from the current noteValue by the note table.
    void updateStepLength();

    // A consistent-enough copy of the gate state, for tests and tools.
    struct GateSnapshot {
        double stepLength;
        double rampSampleRate;
        double gain;
        double declickTime;
        double rampIncrement;
        double rampTarget;
        double stepLevel;
        bool stepLegato;
    };
    GateSnapshot gateSnapshot() const;

private:
    // Discards an object whose bank could not be allocated.
    friend AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

    // Creates the editor, which attaches itself; without one the effect still works.
    void attachEditor();
    // The record of the current program, or null while there is no bank.
    TarvokinProgram* currentProgramRecord();
    // Writes the stored form of one host value into a program record and the current set.
    void storeParameter(ParameterBlock& record, VstInt32 index, float value);

    TarvokinProgram* programs;
    ParameterBlock currentSet;

    // Gate state. stepLength, declickTime and rampSampleRate are written from
    // the host's UI thread and read by the audio thread (relaxed atomics); the
    // rest belongs to the audio thread. alignas keeps atomic_ref legal on
    // 32-bit targets, where doubles are otherwise 4-byte aligned in records.
    alignas(8) double stepLength;
    alignas(8) double rampSampleRate;
    alignas(8) double gain;
    alignas(8) double declickTime;
    alignas(8) double rampIncrement;
    alignas(8) double rampTarget;
    alignas(8) double stepLevel;
    bool stepLegato;
    // Tempo of the last time record with a finite one; blocks without a usable
    // record run as a stopped transport at this tempo. Audio thread only.
    double lastHostTempo = 120.0;
};
