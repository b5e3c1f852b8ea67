// A probe effect and editor for the effect base tests: every operation the
// dispatcher can reach records its call and answers the base behaviour, or a
// forced answer when a test wants to see how the dispatcher passes results on.
#pragma once

#include "host/aeff_editor.h"
#include "host/audio_effect_x.h"

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

struct ProbeCall {
    std::string operation;
    VstIntPtr a = 0;
    VstIntPtr b = 0;
    VstIntPtr c = 0;
    const void* pointer = nullptr;
    float real = 0.0f;
    bool operator==(const ProbeCall&) const = default;
};

// Shared by the effect and its editor, and outliving both, so a test can see
// the order of calls up to and including destruction.
struct ProbeJournal {
    std::vector<ProbeCall> calls;
    std::optional<VstIntPtr> forcedAnswer;

    void note(const char* operation, VstIntPtr a = 0, VstIntPtr b = 0, VstIntPtr c = 0,
              const void* pointer = nullptr, float real = 0.0f) {
        calls.push_back({operation, a, b, c, pointer, real});
    }

    template <typename R>
    R reply(R base) const {
        if (!forcedAnswer) {
            return base;
        }
        if constexpr (std::is_same_v<R, bool>) {
            return *forcedAnswer != 0;
        } else {
            return static_cast<R>(*forcedAnswer);
        }
    }
};

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(ProbeJournal& journal, audioMasterCallback host = nullptr,
                         VstInt32 programs = 8, VstInt32 params = 38)
        : AudioEffectX(host, programs, params), journal(journal) {}
    ~ProbeEffect() override { journal.note("~effect"); }

    ProbeJournal& journal;

    // Fields of the base, for checks of what the operations stored.
    float storedSampleRate() const { return sampleRate; }
    VstInt32 storedBlockSize() const { return blockSize; }

    void open() override { journal.note("open"); }
    void close() override { journal.note("close"); }
    void suspend() override { journal.note("suspend"); }
    void resume() override { journal.note("resume"); }
    void setSampleRate(float rate) override {
        journal.note("setSampleRate", 0, 0, 0, nullptr, rate);
        AudioEffectX::setSampleRate(rate);
    }
    void setBlockSize(VstInt32 size) override {
        journal.note("setBlockSize", size);
        AudioEffectX::setBlockSize(size);
    }
    void processReplacing(float** inputs, float** /*outputs*/, VstInt32 frames) override {
        journal.note("processReplacing", frames, 0, 0, inputs);
    }
    void setParameter(VstInt32 index, float value) override {
        journal.note("setParameter", index, 0, 0, nullptr, value);
    }
    float getParameter(VstInt32 index) override {
        journal.note("getParameter", index);
        return 0.25f;
    }
    VstInt32 getProgram() override {
        journal.note("getProgram");
        return journal.reply(AudioEffectX::getProgram());
    }
    void setProgram(VstInt32 program) override {
        journal.note("setProgram", program);
        AudioEffectX::setProgram(program);
    }
    void setProgramName(char* name) override { journal.note("setProgramName", 0, 0, 0, name); }
    void getProgramName(char* name) override {
        journal.note("getProgramName", 0, 0, 0, name);
        AudioEffectX::getProgramName(name);
    }
    void getParameterLabel(VstInt32 index, char* text) override {
        journal.note("getParameterLabel", index, 0, 0, text);
        AudioEffectX::getParameterLabel(index, text);
    }
    void getParameterDisplay(VstInt32 index, char* text) override {
        journal.note("getParameterDisplay", index, 0, 0, text);
        AudioEffectX::getParameterDisplay(index, text);
    }
    void getParameterName(VstInt32 index, char* text) override {
        journal.note("getParameterName", index, 0, 0, text);
        AudioEffectX::getParameterName(index, text);
    }
    VstInt32 getChunk(void** data, bool isPreset) override {
        journal.note("getChunk", isPreset, 0, 0, data);
        return journal.reply(AudioEffectX::getChunk(data, isPreset));
    }
    VstInt32 setChunk(void* data, VstInt32 size, bool isPreset) override {
        journal.note("setChunk", size, isPreset, 0, data);
        return journal.reply(AudioEffectX::setChunk(data, size, isPreset));
    }

    VstInt32 processEvents(VstEvents* events) override {
        journal.note("processEvents", 0, 0, 0, events);
        return journal.reply(AudioEffectX::processEvents(events));
    }
    bool canParameterBeAutomated(VstInt32 index) override {
        journal.note("canParameterBeAutomated", index);
        return journal.reply(AudioEffectX::canParameterBeAutomated(index));
    }
    bool string2parameter(VstInt32 index, char* text) override {
        journal.note("string2parameter", index, 0, 0, text);
        return journal.reply(AudioEffectX::string2parameter(index, text));
    }
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
        journal.note("getProgramNameIndexed", category, index, 0, text);
        return journal.reply(AudioEffectX::getProgramNameIndexed(category, index, text));
    }
    bool getInputProperties(VstInt32 index, VstPinProperties* p) override {
        journal.note("getInputProperties", index, 0, 0, p);
        return journal.reply(AudioEffectX::getInputProperties(index, p));
    }
    bool getOutputProperties(VstInt32 index, VstPinProperties* p) override {
        journal.note("getOutputProperties", index, 0, 0, p);
        return journal.reply(AudioEffectX::getOutputProperties(index, p));
    }
    VstInt32 getPlugCategory() override {
        journal.note("getPlugCategory");
        return journal.reply(AudioEffectX::getPlugCategory());
    }
    bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) override {
        journal.note("offlineNotify", count, start, 0, files);
        return journal.reply(AudioEffectX::offlineNotify(files, count, start));
    }
    bool offlinePrepare(VstOfflineTask* tasks, VstInt32 count) override {
        journal.note("offlinePrepare", count, 0, 0, tasks);
        return journal.reply(AudioEffectX::offlinePrepare(tasks, count));
    }
    bool offlineRun(VstOfflineTask* tasks, VstInt32 count) override {
        journal.note("offlineRun", count, 0, 0, tasks);
        return journal.reply(AudioEffectX::offlineRun(tasks, count));
    }
    bool processVariableIo(VstVariableIo* io) override {
        journal.note("processVariableIo", 0, 0, 0, io);
        return journal.reply(AudioEffectX::processVariableIo(io));
    }
    bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
        journal.note("setSpeakerArrangement", reinterpret_cast<VstIntPtr>(in), 0, 0, out);
        return journal.reply(AudioEffectX::setSpeakerArrangement(in, out));
    }
    bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
        journal.note("getSpeakerArrangement", reinterpret_cast<VstIntPtr>(in), 0, 0, out);
        return journal.reply(AudioEffectX::getSpeakerArrangement(in, out));
    }
    bool setBypass(bool onOff) override {
        journal.note("setBypass", onOff);
        return journal.reply(AudioEffectX::setBypass(onOff));
    }
    bool getEffectName(char* text) override {
        journal.note("getEffectName", 0, 0, 0, text);
        return journal.reply(AudioEffectX::getEffectName(text));
    }
    bool getVendorString(char* text) override {
        journal.note("getVendorString", 0, 0, 0, text);
        return journal.reply(AudioEffectX::getVendorString(text));
    }
    bool getProductString(char* text) override {
        journal.note("getProductString", 0, 0, 0, text);
        return journal.reply(AudioEffectX::getProductString(text));
    }
    VstInt32 getVendorVersion() override {
        journal.note("getVendorVersion");
        return journal.reply(AudioEffectX::getVendorVersion());
    }
    VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void* p, float f) override {
        journal.note("vendorSpecific", a, b, 0, p, f);
        return journal.reply(AudioEffectX::vendorSpecific(a, b, p, f));
    }
    VstInt32 canDo(char* text) override {
        journal.note("canDo", 0, 0, 0, text);
        return journal.reply(AudioEffectX::canDo(text));
    }
    VstInt32 getGetTailSize() override {
        journal.note("getGetTailSize");
        return journal.reply(AudioEffectX::getGetTailSize());
    }
    bool getParameterProperties(VstInt32 index, VstParameterProperties* p) override {
        journal.note("getParameterProperties", index, 0, 0, p);
        return journal.reply(AudioEffectX::getParameterProperties(index, p));
    }
    VstInt32 getVstVersion() override {
        journal.note("getVstVersion");
        return journal.reply(AudioEffectX::getVstVersion());
    }
    VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name) override {
        journal.note("getMidiProgramName", channel, 0, 0, name);
        return journal.reply(AudioEffectX::getMidiProgramName(channel, name));
    }
    VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* name) override {
        journal.note("getCurrentMidiProgram", channel, 0, 0, name);
        return journal.reply(AudioEffectX::getCurrentMidiProgram(channel, name));
    }
    VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category) override {
        journal.note("getMidiProgramCategory", channel, 0, 0, category);
        return journal.reply(AudioEffectX::getMidiProgramCategory(channel, category));
    }
    bool hasMidiProgramsChanged(VstInt32 channel) override {
        journal.note("hasMidiProgramsChanged", channel);
        return journal.reply(AudioEffectX::hasMidiProgramsChanged(channel));
    }
    bool getMidiKeyName(VstInt32 channel, MidiKeyName* name) override {
        journal.note("getMidiKeyName", channel, 0, 0, name);
        return journal.reply(AudioEffectX::getMidiKeyName(channel, name));
    }
    bool beginSetProgram() override {
        journal.note("beginSetProgram");
        return journal.reply(AudioEffectX::beginSetProgram());
    }
    bool endSetProgram() override {
        journal.note("endSetProgram");
        return journal.reply(AudioEffectX::endSetProgram());
    }
    VstInt32 getNextShellPlugin(char* name) override {
        journal.note("getNextShellPlugin", 0, 0, 0, name);
        return journal.reply(AudioEffectX::getNextShellPlugin(name));
    }
    VstInt32 startProcess() override {
        journal.note("startProcess");
        return journal.reply(AudioEffectX::startProcess());
    }
    VstInt32 stopProcess() override {
        journal.note("stopProcess");
        return journal.reply(AudioEffectX::stopProcess());
    }
    VstInt32 setTotalSampleToProcess(VstInt32 value) override {
        journal.note("setTotalSampleToProcess", value);
        return journal.reply(AudioEffectX::setTotalSampleToProcess(value));
    }
    bool setPanLaw(VstInt32 type, float gain) override {
        journal.note("setPanLaw", type, 0, 0, nullptr, gain);
        return journal.reply(AudioEffectX::setPanLaw(type, gain));
    }
    VstInt32 beginLoadBank(VstPatchChunkInfo* info) override {
        journal.note("beginLoadBank", 0, 0, 0, info);
        return journal.reply(AudioEffectX::beginLoadBank(info));
    }
    VstInt32 beginLoadProgram(VstPatchChunkInfo* info) override {
        journal.note("beginLoadProgram", 0, 0, 0, info);
        return journal.reply(AudioEffectX::beginLoadProgram(info));
    }
    bool setProcessPrecision(VstInt32 precision) override {
        journal.note("setProcessPrecision", precision);
        return journal.reply(AudioEffectX::setProcessPrecision(precision));
    }
    VstInt32 getNumMidiInputChannels() override {
        journal.note("getNumMidiInputChannels");
        return journal.reply(AudioEffectX::getNumMidiInputChannels());
    }
    VstInt32 getNumMidiOutputChannels() override {
        journal.note("getNumMidiOutputChannels");
        return journal.reply(AudioEffectX::getNumMidiOutputChannels());
    }
};

// Attaches itself to the effect, as the GUI editor shell does.
class ProbeEditor : public AEffEditor {
public:
    ProbeEditor(ProbeEffect& effect, ProbeJournal& journal)
        : AEffEditor(&effect), journal(journal) {
        effect.setEditor(this);
    }
    ~ProbeEditor() override { journal.note("~editor"); }

    ProbeJournal& journal;

    bool getRect(ERect** rect) override {
        journal.note("editor.getRect", 0, 0, 0, rect);
        return journal.reply(AEffEditor::getRect(rect));
    }
    bool open(void* window) override {
        journal.note("editor.open", 0, 0, 0, window);
        return journal.reply(AEffEditor::open(window));
    }
    void close() override {
        journal.note("editor.close");
        AEffEditor::close();
    }
    void idle() override { journal.note("editor.idle"); }
    bool onKeyDown(VstKeyCode& key) override {
        journal.note("editor.onKeyDown", key.character, key.virt, key.modifier);
        return journal.reply(false);
    }
    bool onKeyUp(VstKeyCode& key) override {
        journal.note("editor.onKeyUp", key.character, key.virt, key.modifier);
        return journal.reply(false);
    }
    bool setKnobMode(VstInt32 mode) override {
        journal.note("editor.setKnobMode", mode);
        return journal.reply(AEffEditor::setKnobMode(mode));
    }
};
