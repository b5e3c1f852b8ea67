// The program bank: defaults, switching, recall, names, and the 38 values a
// program load pushes through setParameter.
#include "tests/engine_test_support.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class Programs : public testing::Test, protected EffectWithEditor {
protected:
    std::vector<float> values() {
        std::vector<float> all;
        for (VstInt32 i = 0; i < kNumParams; ++i) {
            all.push_back(effect.getParameter(i));
        }
        return all;
    }
    std::vector<std::string> displays() {
        std::vector<std::string> all;
        for (VstInt32 i = 0; i < kNumParams; ++i) {
            all.push_back(display(i));
        }
        return all;
    }
    void rename(const char* text) {
        std::string copy(text); // the host hands a mutable buffer
        effect.setProgramName(copy.data());
    }
};

TEST_F(Programs, DefaultProgramAsTheHostSeesIt) {
    std::vector<std::string> expected;
    for (int step = 0; step < kNumSteps; ++step) {
        expected.push_back(step % 2 == 0 ? "100" : "0");
    }
    for (int step = 0; step < kNumSteps; ++step) {
        expected.push_back("0");
    }
    for (const char* text : {"8", "1/16", "1", "100", "0", "100"}) {
        expected.push_back(text);
    }
    EXPECT_EQ(displays(), expected);
    EXPECT_EQ(effect.getParameter(0), 1.0f);
    EXPECT_EQ(effect.getParameter(1), 0.0f);
    EXPECT_EQ(effect.getParameter(36), 1.0f);
    EXPECT_EQ(effect.getProgram(), 0);
    EXPECT_EQ(programName(), "Init 1");
}

TEST_F(Programs, AllEightStartIdenticalAndNumberTheirDefaultName) {
    const std::vector<float> first = values();
    const std::vector<std::string> firstTexts = displays();
    for (VstInt32 k = 0; k < kNumPrograms; ++k) {
        effect.setProgram(k);
        EXPECT_EQ(effect.getProgram(), k);
        EXPECT_EQ(values(), first) << k;
        EXPECT_EQ(displays(), firstTexts) << k;
        EXPECT_EQ(programName(), "Init " + std::to_string(k + 1));
    }
}

TEST_F(Programs, ChangesAreRecalledPerProgram) {
    effect.setProgram(2);
    effect.setParameter(0, 0.3f);
    effect.setParameter(33, 0.999f);
    effect.setParameter(36, 0.3f);
    effect.setProgram(5);
    EXPECT_EQ(effect.getParameter(0), 1.0f); // program 5 keeps its default
    EXPECT_EQ(display(33), "1/16");
    effect.setParameter(0, 0.8f);

    effect.setProgram(2);
    EXPECT_EQ(effect.getParameter(0), 0.3f);
    EXPECT_EQ(display(33), "1/16T");
    EXPECT_EQ(effect.gateSnapshot().stepLength, 0.166666);
    EXPECT_EQ(display(36), "69");
    EXPECT_NEAR(effect.getParameter(36), 0.3f, std::ldexp(1.0, -25));

    effect.setProgram(5);
    EXPECT_EQ(effect.getParameter(0), 0.8f);
    EXPECT_EQ(effect.gateSnapshot().stepLength, 0.25);
}

TEST_F(Programs, ReloadingTheCurrentProgramKeepsEveryValue) {
    const std::pair<VstInt32, float> changes[] = {{3, 0.57f}, {17, 1.0f},  {32, 0.99f}, {33, 0.5f},
                                                  {34, 0.0f}, {35, 0.33f}, {36, 0.9f},  {37, 0.7f}};
    for (const auto& [index, value] : changes) {
        effect.setParameter(index, value);
    }
    const std::vector<float> before = values();
    const std::vector<std::string> beforeTexts = displays();
    effect.setProgram(0);
    EXPECT_EQ(displays(), beforeTexts);
    for (VstInt32 i = 0; i < kNumParams; ++i) {
        EXPECT_NEAR(effect.getParameter(i), before[static_cast<std::size_t>(i)],
                    std::ldexp(1.0, -25))
            << i;
    }
    EXPECT_EQ(effect.gateSnapshot().declickTime, 0.0);
}

TEST_F(Programs, LoadTellsTheEditorAll38ValuesInOrder) {
    effect.setParameter(33, 0.5f);
    effect.setParameter(36, 0.25f);
    editor->calls.clear();
    effect.setProgram(0); // already current: loaded all the same

    std::vector<VstInt32> expectedOrder;
    for (VstInt32 step = 0; step < kNumSteps; ++step) {
        expectedOrder.push_back(step);
        expectedOrder.push_back(16 + step);
    }
    for (VstInt32 index = 32; index < kNumParams; ++index) {
        expectedOrder.push_back(index);
    }
    ASSERT_EQ(editor->calls.size(), expectedOrder.size());
    for (std::size_t i = 0; i < expectedOrder.size(); ++i) {
        EXPECT_EQ(editor->calls[i].index, expectedOrder[i]) << i;
        // The value pushed is the host value the program now reports.
        EXPECT_EQ(editor->calls[i].value, effect.getParameter(expectedOrder[i])) << i;
    }
}

TEST_F(Programs, NumbersOutsideTheBankAreIgnored) {
    effect.setProgram(3);
    effect.setParameter(37, 0.6f);
    editor->calls.clear();
    for (VstInt32 program : {8, -1, INT_MAX, INT_MIN}) {
        effect.setProgram(program);
    }
    EXPECT_EQ(effect.getProgram(), 3);
    EXPECT_EQ(effect.getParameter(37), 0.6f);
    EXPECT_TRUE(editor->calls.empty());
}

TEST_F(Programs, NameRules) {
    const struct {
        VstInt32 program;
        const char* set;
        const char* reported;
    } cases[] = {
        {3, "Init", "Init 4"},
        {0, "Init 4", "Init 4"},
        {0, "init", "init"},
        {0, "Init ", "Init "},
        {0, "", ""},
        {6, "Pads", "Pads"},
        {1, "123456789012345678901234", "123456789012345678901234"},
        {1, "123456789012345678901234567890", "123456789012345678901234"},
    };
    for (const auto& c : cases) {
        effect.setProgram(c.program);
        rename(c.set);
        TextBuffer buffer;
        effect.getProgramName(buffer.data());
        EXPECT_EQ(buffer.text(), c.reported) << c.set;
        EXPECT_LE(buffer.bytesWritten(), 25u) << c.set; // terminator at 24 at most
    }
    // Names belong to their program.
    effect.setProgram(2);
    EXPECT_EQ(programName(), "Init 3");
    effect.setProgram(6);
    EXPECT_EQ(programName(), "Pads");
}

TEST_F(Programs, NullNamesAreIgnored) {
    rename("Bass");
    effect.setProgramName(nullptr);
    effect.getProgramName(nullptr);
    EXPECT_EQ(programName(), "Bass");
}

} // namespace
