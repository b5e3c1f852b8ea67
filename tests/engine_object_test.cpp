// The effect object's construction, identity and editor ownership.
#include "tests/engine_test_support.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class EffectObject : public testing::Test {
protected:
    void TearDown() override { setEditorFactoryMode(EditorFactoryMode::none); }
};

TEST_F(EffectObject, ConstructionLeavesProgramZeroLoadedAndTheGateReady) {
    setEditorFactoryMode(EditorFactoryMode::recording);
    Tarvokin effect(nullptr);
    const AEffect& record = *effect.getAeffect();
    EXPECT_EQ(record.numInputs, 2);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.numPrograms, 8);
    EXPECT_EQ(record.numParams, 38);
    EXPECT_EQ(record.uniqueID, 0x746B3637);
    EXPECT_EQ(record.version, 1);
    EXPECT_EQ(record.flags, effFlagsCanReplacing | effFlagsHasEditor);
    EXPECT_EQ(effect.getProgram(), 0);

    const Tarvokin::GateSnapshot gate = effect.gateSnapshot();
    EXPECT_EQ(gate.stepLength, 0.25);
    EXPECT_EQ(gate.declickTime, 0.005);
    EXPECT_EQ(gate.rampSampleRate, 44100.0);
    EXPECT_EQ(gate.gain, 0.0);

    // The editor came after the first program load, so it was told nothing.
    auto* editor = dynamic_cast<RecordingEditor*>(effect.getEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->calls.empty());
}

TEST_F(EffectObject, WorksWithoutAnEditor) {
    for (EditorFactoryMode mode : {EditorFactoryMode::none, EditorFactoryMode::throwing}) {
        setEditorFactoryMode(mode);
        Tarvokin effect(nullptr);
        EXPECT_EQ(effect.getEditor(), nullptr);
        EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing);
        effect.setParameter(32, 1.0f);
        effect.setProgram(1);
        effect.setProgram(0);
        EXPECT_EQ(effect.getParameter(32), 1.0f);
    }
}

TEST_F(EffectObject, FactoryAnswersAWholeObject) {
    setEditorFactoryMode(EditorFactoryMode::recording);
    std::unique_ptr<AudioEffect> effect(createEffectInstance(nullptr));
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->getAeffect()->object, effect.get());
    EXPECT_EQ(effect->getAeffect()->uniqueID, 0x746B3637);
    EXPECT_NE(effect->getEditor(), nullptr);
}

TEST_F(EffectObject, FactoryTurnsAThrowingEditorIntoAnEffectWithoutOne) {
    setEditorFactoryMode(EditorFactoryMode::throwing);
    std::unique_ptr<AudioEffect> effect(createEffectInstance(nullptr));
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->getEditor(), nullptr);
}

TEST_F(EffectObject, IdentityStringsRespectTheirLimits) {
    Tarvokin effect(nullptr);
    const struct {
        bool (Tarvokin::*get)(char*);
        const char* expected;
        std::size_t limit;
    } cases[] = {
        {&Tarvokin::getEffectName, "Tarvokin", 32},
        {&Tarvokin::getVendorString, "mirel-dovka", 64},
        {&Tarvokin::getProductString, "Tarvokin", 64},
    };
    for (const auto& c : cases) {
        TextBuffer buffer;
        EXPECT_TRUE((effect.*c.get)(buffer.data()));
        EXPECT_EQ(buffer.text(), c.expected);
        EXPECT_EQ(buffer.bytesWritten(), c.limit + 1); // cleared up to and including the terminator
        EXPECT_FALSE((effect.*c.get)(nullptr));
    }
    EXPECT_EQ(effect.getVendorVersion(), 1000);
}

TEST_F(EffectObject, CanDoAnswersMinusOneWithoutReadingTheText) {
    Tarvokin effect(nullptr);
    char timeInfo[] = "receiveVstTimeInfo";
    char empty[] = "";
    EXPECT_EQ(effect.canDo(timeInfo), -1);
    EXPECT_EQ(effect.canDo(empty), -1);
    EXPECT_EQ(effect.canDo(nullptr), -1);
}

} // namespace
