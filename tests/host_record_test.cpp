// The effect record after construction, the flag setters, the entry
// functions and the lifecycle of the effect object and its editor.
#include "host/effect_entries.h"
#include "tests/host_probe_effect.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(EffectRecord, ConstructionFillsEveryField) {
    ProbeJournal journal;
    ProbeEffect effect(journal, nullptr, 8, 38);
    const AEffect& record = *effect.getAeffect();

    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(record.dispatcher, &effect_entries::dispatcher);
    EXPECT_EQ(record.process, &effect_entries::process);
    EXPECT_EQ(record.setParameter, &effect_entries::setParameter);
    EXPECT_EQ(record.getParameter, &effect_entries::getParameter);
    EXPECT_EQ(record.processReplacing, &effect_entries::processReplacing);
    EXPECT_EQ(record.processDoubleReplacing, &effect_entries::processDoubleReplacing);
    EXPECT_EQ(record.numPrograms, 8);
    EXPECT_EQ(record.numParams, 38);
    EXPECT_EQ(record.numInputs, 1);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.flags, effFlagsCanReplacing);
    EXPECT_EQ(record.resvd1, 0);
    EXPECT_EQ(record.resvd2, 0);
    EXPECT_EQ(record.initialDelay, 0);
    EXPECT_EQ(record.realQualities, 0);
    EXPECT_EQ(record.offQualities, 0);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_EQ(record.object, static_cast<AudioEffect*>(&effect));
    EXPECT_EQ(record.user, nullptr);
    EXPECT_EQ(record.uniqueID, 0x4E6F4566);
    EXPECT_EQ(record.version, 1);
    for (char byte : record.future) {
        EXPECT_EQ(byte, 0);
    }
}

TEST(EffectRecord, EffectFieldsStartAtTheirDefaults) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
    EXPECT_EQ(effect.getEditor(), nullptr);
}

struct FlagSetter {
    const char* name;
    std::function<void(AudioEffectX&, bool)> set;
    VstInt32 bit;
};

const std::vector<FlagSetter>& flagSetters() {
    static const std::vector<FlagSetter> setters = {
        {"hasVu", [](AudioEffectX& e, bool s) { e.hasVu(s); }, effFlagsHasVu},
        {"hasClip", [](AudioEffectX& e, bool s) { e.hasClip(s); }, effFlagsHasClip},
        {"canMono", [](AudioEffectX& e, bool s) { e.canMono(s); }, effFlagsCanMono},
        {"canProcessReplacing", [](AudioEffectX& e, bool s) { e.canProcessReplacing(s); },
         effFlagsCanReplacing},
        {"canDoubleReplacing", [](AudioEffectX& e, bool s) { e.canDoubleReplacing(s); },
         effFlagsCanDoubleReplacing},
        {"programsAreChunks", [](AudioEffectX& e, bool s) { e.programsAreChunks(s); },
         effFlagsProgramChunks},
        {"isSynth", [](AudioEffectX& e, bool s) { e.isSynth(s); }, effFlagsIsSynth},
        {"noTail", [](AudioEffectX& e, bool s) { e.noTail(s); }, effFlagsNoSoundInStop},
        {"wantAsyncOperation", [](AudioEffectX& e, bool s) { e.wantAsyncOperation(s); },
         effFlagsExtIsAsync},
        {"hasExternalBuffer", [](AudioEffectX& e, bool s) { e.hasExternalBuffer(s); },
         effFlagsExtHasBuffer},
    };
    return setters;
}

TEST(EffectRecord, FlagSettersTouchOnlyTheirOwnBit) {
    for (const FlagSetter& setter : flagSetters()) {
        SCOPED_TRACE(setter.name);
        ProbeJournal journal;
        ProbeEffect effect(journal);
        VstInt32& flags = effect.getAeffect()->flags;

        setter.set(effect, true);
        EXPECT_EQ(flags, effFlagsCanReplacing | setter.bit);

        flags = ~0;
        setter.set(effect, false);
        EXPECT_EQ(flags, ~setter.bit);

        flags = 0;
        setter.set(effect, true);
        EXPECT_EQ(flags, setter.bit);
        EXPECT_TRUE(journal.calls.empty()) << "a flag setter tells nobody";
    }
}

TEST(EffectRecord, ReplacingCanBeWithdrawnFromAFreshRecord) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    effect.canProcessReplacing(false);
    EXPECT_EQ(effect.getAeffect()->flags, 0);
}

TEST(EffectRecord, AttachingAnEditorAnnouncesIt) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    auto* editor = new ProbeEditor(effect, journal); // owned by the effect from here
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing | effFlagsHasEditor);
}

TEST(EffectRecord, RecordSettersStoreTheirFields) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    effect.setUniqueID(0x746B3637);
    effect.setNumInputs(2);
    effect.setNumOutputs(4);
    effect.setInitialDelay(64);
    effect.setRealtimeQualities(3);
    effect.setOfflineQualities(5);
    const AEffect& record = *effect.getAeffect();
    EXPECT_EQ(record.uniqueID, 0x746B3637);
    EXPECT_EQ(record.numInputs, 2);
    EXPECT_EQ(record.numOutputs, 4);
    EXPECT_EQ(record.initialDelay, 64);
    EXPECT_EQ(record.realQualities, 3);
    EXPECT_EQ(record.offQualities, 5);
}

TEST(EffectRecord, SampleRateAndBlockSizeSetters) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    effect.AudioEffectX::setSampleRate(48000.0f);
    effect.AudioEffectX::setBlockSize(256);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    effect.setBlockSizeAndSampleRate(128, 96000.0f);
    EXPECT_EQ(effect.storedSampleRate(), 96000.0f);
    EXPECT_EQ(effect.storedBlockSize(), 128);
}

TEST(EntryFunctions, ForwardToTheObject) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    AEffect* record = effect.getAeffect();
    float left[4] = {1, 2, 3, 4};
    float* channels[2] = {left, left};

    record->setParameter(record, 5, 0.75f);
    EXPECT_EQ(record->getParameter(record, 9), 0.25f);
    record->processReplacing(record, channels, channels, 4);
    EXPECT_EQ(record->dispatcher(record, effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);

    const std::vector<ProbeCall> expected = {
        {"setParameter", 5, 0, 0, nullptr, 0.75f},
        {"getParameter", 9},
        {"processReplacing", 4, 0, 0, channels},
        {"getVstVersion"},
    };
    EXPECT_EQ(journal.calls, expected);
}

// Runs one processing entry over a block and reports whether the outputs
// still hold what they held before.
template <typename Sample, typename Entry>
bool outputsUntouchedBy(Entry entry, AEffect* record) {
    Sample in[3] = {0.5, -0.5, 0.25};
    Sample out[3] = {7, 8, 9};
    Sample* inputs[2] = {in, in};
    Sample* outputs[2] = {out, out};
    entry(record, inputs, outputs, 3);
    return out[0] == 7 && out[1] == 8 && out[2] == 9;
}

TEST(EntryFunctions, BaseProcessingLeavesOutputsUntouched) {
    ProbeJournal journal;
    ProbeEffect effect(journal);
    AEffect* record = effect.getAeffect();
    EXPECT_TRUE(outputsUntouchedBy<float>(record->process, record));
    EXPECT_TRUE(outputsUntouchedBy<double>(record->processDoubleReplacing, record));
    EXPECT_EQ(record->flags & effFlagsCanDoubleReplacing, 0);
}

TEST(EntryFunctions, NullRecordIsAnsweredLikeAnUnknownCall) {
    EXPECT_EQ(effect_entries::dispatcher(nullptr, effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect_entries::getParameter(nullptr, 0), 0.0f);
    effect_entries::setParameter(nullptr, 0, 1.0f);
    effect_entries::process(nullptr, nullptr, nullptr, 16);
    effect_entries::processReplacing(nullptr, nullptr, nullptr, 16);
    effect_entries::processDoubleReplacing(nullptr, nullptr, nullptr, 16);
}

TEST(EntryFunctions, CloseDestroysTheObjectAndItsEditorAndAnswersOne) {
    ProbeJournal journal;
    auto* effect = new ProbeEffect(journal);
    new ProbeEditor(*effect, journal);
    AEffect* record = effect->getAeffect();

    EXPECT_EQ(effect->dispatcher(effClose, 0, 0, nullptr, 0.0f), 0) << "the object's own answer";
    journal.calls.clear();

    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    // The sanitizer build also reports a leak if either object survived.
    const std::vector<ProbeCall> expected = {{"close"}, {"~effect"}, {"~editor"}};
    EXPECT_EQ(journal.calls, expected);
}

} // namespace
