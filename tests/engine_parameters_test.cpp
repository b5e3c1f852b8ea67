// The 38 parameters of a live effect: stored forms, what getParameter and the
// display texts give back, side effects on the gate, the editor's calls, and
// what out-of-contract input does.
#include "tests/engine_test_support.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct SetCase {
    VstInt32 index;
    float value;
    float expectedGet;
    const char* expectedDisplay;
};

class Parameters : public testing::Test, protected EffectWithEditor {};

TEST_F(Parameters, StoredFormsReadBackAsTheTableSays) {
    const SetCase cases[] = {
        {32, 1.0f, 1.0f, "16"},
        {32, 0.99f, 14.0f / 15.0f, "15"},
        {32, 0.0f, 0.0f, "1"},
        {33, 0.5f, 3.0f / 7.0f, "1/32"},
        {33, 0.999f, 6.0f / 7.0f, "1/16T"},
        {33, 1.0f, 1.0f, "1/32T"},
        {33, 0.0f, 0.0f, "1/4"},
        {16, 0.49f, 0.0f, "0"},
        {16, 0.5f, 1.0f, "1"},
        {31, 1.0f, 1.0f, "1"},
        {34, 0.5f, 1.0f, "1"},
        {34, 0.2f, 0.0f, "0"},
        {36, 1.0f, 1.0f, "0"},
        {36, 0.0f, 0.0f, "100"},
        {0, 0.57f, 0.57f, "56"},
        {15, 0.999f, 0.999f, "99"},
        {35, 0.25f, 0.25f, "25"},
        {37, 0.5f, 0.5f, "50"},
    };
    for (const auto& c : cases) {
        effect.setParameter(c.index, c.value);
        EXPECT_EQ(effect.getParameter(c.index), c.expectedGet) << c.index << " <- " << c.value;
        EXPECT_EQ(display(c.index), c.expectedDisplay) << c.index << " <- " << c.value;
    }
}

TEST_F(Parameters, MixIsStoredAsTheGateOffLevel) {
    effect.setParameter(36, 0.3f);
    EXPECT_EQ(display(36), "69"); // the level is the float nearest 0.7, just below it
    EXPECT_NEAR(effect.getParameter(36), 0.3f, std::ldexp(1.0, -25));
}

TEST_F(Parameters, SelectorsSurviveEveryRoundTripThroughTheHost) {
    const std::pair<VstInt32, int> selectors[] = {{32, 15}, {33, 7}};
    for (const auto& [index, top] : selectors) {
        for (int k = 0; k <= top; ++k) {
            effect.setParameter(index, static_cast<float>((k + 0.5) / top)); // selects k
            const float host = effect.getParameter(index);
            const std::string before = display(index);
            effect.setParameter(index, host);
            EXPECT_EQ(effect.getParameter(index), host) << index << " k=" << k;
            EXPECT_EQ(display(index), before) << index << " k=" << k;
        }
    }
    effect.setParameter(32, effect.getParameter(32));
    EXPECT_EQ(display(32), "16");
}

TEST_F(Parameters, NoteAndDeclickUpdateTheGate) {
    const std::pair<float, double> notes[] = {
        {0.0f, 1.0}, {0.5f, 0.125}, {0.999f, 0.166666}, {1.0f, 0.083333}};
    for (const auto& [value, beats] : notes) {
        effect.setParameter(33, value);
        EXPECT_EQ(effect.gateSnapshot().stepLength, beats) << value;
    }
    effect.setParameter(34, 0.2f);
    EXPECT_EQ(effect.gateSnapshot().declickTime, 0.0);
    effect.setParameter(34, 0.5f);
    EXPECT_EQ(effect.gateSnapshot().declickTime, 0.005);
}

TEST_F(Parameters, EditorHearsEveryCallWithTheValueAsReceived) {
    const ParameterCall sent[] = {{36, 0.3f},  {32, 0.99f}, {16, 0.49f},  {0, 1.5f},
                                  {38, 0.25f}, {-1, 0.75f}, {1000, kNaN}, {33, kInf}};
    for (const auto& call : sent) {
        effect.setParameter(call.index, call.value);
    }
    ASSERT_EQ(editor->calls.size(), std::size(sent));
    for (std::size_t i = 0; i < std::size(sent); ++i) {
        EXPECT_EQ(editor->calls[i].index, sent[i].index);
        // Bitwise, so NaN compares too: the host value, never the stored form.
        EXPECT_EQ(std::memcmp(&editor->calls[i].value, &sent[i].value, sizeof(float)), 0)
            << "call " << i;
    }
}

TEST_F(Parameters, NamesAndLabels) {
    const struct {
        VstInt32 index;
        const char* name;
        const char* label;
    } cases[] = {
        {0, "Prob1", "%"},    {9, "Prob10", "%"},   {15, "Prob16", "%"}, {16, "Legat1", " "},
        {31, "Legat16", " "}, {32, "Step", " "},    {33, "Note", " "},   {34, "Declick", " "},
        {35, "Duratio", "%"}, {36, "Gateoff", "%"}, {37, "Output", "%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(name(c.index), c.name) << c.index;
        EXPECT_EQ(label(c.index), c.label) << c.index;
    }
}

// Name, label and display of every parameter fit the host's 9-byte buffer;
// a null buffer gets nothing.
TEST_F(Parameters, TextsNeverWriteBeyondNineBytes) {
    effect.setParameter(37, 1e30f); // the widest display text
    effect.setParameter(35, -1e30f);
    for (VstInt32 index = 0; index < kNumParams; ++index) {
        for (auto get : {&Tarvokin::getParameterName, &Tarvokin::getParameterLabel,
                         &Tarvokin::getParameterDisplay}) {
            TextBuffer buffer;
            (effect.*get)(index, buffer.data());
            EXPECT_LE(buffer.bytesWritten(), 9u) << index;
            EXPECT_GT(buffer.bytesWritten(), 0u) << index;
            EXPECT_EQ(buffer.bytes[buffer.text().size()], '\0') << index;
            (effect.*get)(index, nullptr); // a null buffer is ignored
        }
    }
    EXPECT_EQ(display(37), "99999999");
    EXPECT_EQ(display(35), "-9999999");
}

TEST_F(Parameters, OutOfRangeIndicesStoreNothingAndLeaveBuffersUntouched) {
    effect.setParameter(0, 0.25f);
    effect.setParameter(36, 0.4f);
    std::vector<float> before;
    for (VstInt32 i = 0; i < kNumParams; ++i) {
        before.push_back(effect.getParameter(i));
    }
    for (VstInt32 index : {38, 39, 1000, INT_MAX, -1, -16, INT_MIN}) {
        effect.setParameter(index, 0.9f);
        EXPECT_EQ(effect.getParameter(index), 0.0f) << index;
        for (auto get : {&Tarvokin::getParameterName, &Tarvokin::getParameterLabel,
                         &Tarvokin::getParameterDisplay}) {
            TextBuffer buffer;
            (effect.*get)(index, buffer.data());
            EXPECT_TRUE(buffer.untouched()) << index;
        }
    }
    for (VstInt32 i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(effect.getParameter(i), before[static_cast<std::size_t>(i)]) << i;
    }
}

TEST_F(Parameters, IntegerFieldsStayInRangeWhateverTheHostSends) {
    const SetCase cases[] = {
        {32, 2.0f, 1.0f, "16"},  {32, -0.5f, 0.0f, "1"},    {32, kNaN, 0.0f, "1"},
        {32, kInf, 1.0f, "16"},  {33, 1.5f, 1.0f, "1/32T"}, {33, -kInf, 0.0f, "1/4"},
        {33, kNaN, 0.0f, "1/4"}, {16, 7.0f, 1.0f, "1"},     {16, -3.0f, 0.0f, "0"},
        {20, kNaN, 0.0f, "0"},   {34, kInf, 1.0f, "1"},     {34, kNaN, 0.0f, "0"},
    };
    for (const auto& c : cases) {
        effect.setParameter(c.index, c.value);
        EXPECT_EQ(effect.getParameter(c.index), c.expectedGet) << c.index << " <- " << c.value;
        EXPECT_EQ(display(c.index), c.expectedDisplay) << c.index << " <- " << c.value;
    }
    effect.setParameter(34, kNaN);
    EXPECT_EQ(effect.gateSnapshot().declickTime, 0.0);
    effect.setParameter(33, kNaN);
    EXPECT_EQ(effect.gateSnapshot().stepLength, 1.0);
}

TEST_F(Parameters, FloatFieldsKeepTheValueAsSent) {
    const SetCase cases[] = {
        {0, 1.5f, 1.5f, "150"},
        {35, -0.25f, -0.25f, "-25"},
        {37, 2.0f, 2.0f, "200"},
        {36, 1.5f, 1.5f, "-50"},
    };
    for (const auto& c : cases) {
        effect.setParameter(c.index, c.value);
        EXPECT_EQ(effect.getParameter(c.index), c.expectedGet) << c.index;
        EXPECT_EQ(display(c.index), c.expectedDisplay) << c.index;
    }
    for (VstInt32 index : {0, 35, 36, 37}) {
        effect.setParameter(index, kNaN);
        EXPECT_TRUE(std::isnan(effect.getParameter(index))) << index;
        EXPECT_EQ(display(index), "0") << index;
    }
}

} // namespace
