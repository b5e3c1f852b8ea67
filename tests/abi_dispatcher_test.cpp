// The dispatcher as a host meets it: the answer to every opcode from -1 to
// 80, the identity texts within their buffer limits, and a sweep of opcodes
// far outside the interface with null and zeroed pointers.
#include "tests/abi_support.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace abi_tests {
namespace {

constexpr VstIntPtr kIdentifyAnswer = 0x4E764566; // 'NvEf'

// What this plug-in answers when the opcode comes with index 0, value 0, a
// zeroed buffer as ptr and opt 0, except where kArguments gives others.
// Opcodes not listed answer 0.
const std::map<VstInt32, VstIntPtr> kAnswers = {
    {effIdentify, kIdentifyAnswer},
    {effCanBeAutomated, 1},
    {effGetEffectName, 1},
    {effGetVendorString, 1},
    {effGetProductString, 1},
    {effGetVendorVersion, 1000},
    {effCanDo, -1}, // the zeroed buffer is the empty text
    {effGetVstVersion, 2400},
    {effGetCurrentMidiProgram, -1},
    {effSetTotalSampleToProcess, 512},
};

struct Arguments {
    VstIntPtr value = 0;
    float opt = 0.0f;
};
const std::map<VstInt32, Arguments> kArguments = {
    {effSetSampleRate, {0, 44100.0f}},
    {effSetBlockSize, {512}},
    {effMainsChanged, {1}},
    {effSetTotalSampleToProcess, {512}},
};

// Left to the editor's own suites: what these answer depends on the panel,
// and effEditOpen needs a real parent window. effClose destroys the instance
// and effGetSpeakerArrangement reads value as an address: both have tests here.
bool coveredElsewhere(VstInt32 opcode) {
    switch (opcode) {
    case effClose:
    case effEditGetRect:
    case effEditOpen:
    case effEditKeyDown:
    case effEditKeyUp:
    case effSetEditKnobMode:
    case effGetSpeakerArrangement:
        return true;
    default:
        return false;
    }
}

TEST_F(TarvokinModule, EveryOpcodeAnswersAsThisPlugInDoes) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    plugin->open();
    for (VstInt32 opcode = -1; opcode <= 80; ++opcode) {
        if (coveredElsewhere(opcode)) {
            continue;
        }
        std::vector<char> buffer(4096, 0);
        const auto answer = kAnswers.find(opcode);
        const auto arguments = kArguments.find(opcode);
        const Arguments given = arguments != kArguments.end() ? arguments->second : Arguments{};
        EXPECT_EQ(plugin->dispatch(opcode, 0, given.value, buffer.data(), given.opt),
                  answer != kAnswers.end() ? answer->second : 0)
            << "opcode " << opcode;
    }
    // Nothing above disturbed the instance.
    EXPECT_EQ(plugin->vendorString(), "mirel-dovka");
}

TEST_F(TarvokinModule, EveryIndexCanBeAutomated) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    for (VstInt32 index : {0, 15, 16, 31, 32, 37, 38, 100, -1, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), 1) << "index " << index;
    }
}

TEST_F(TarvokinModule, CanDoAnswersMinusOneForEveryText) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    for (const char* text : {"", "sizeWindow", "receiveVstEvents", "receiveVstMidiEvent",
                             "receiveVstTimeInfo", "bypass", "plugAsChannelInsert", "sendVstEvents",
                             "1in1out", "2in2out", "anything else"}) {
        std::vector<char> copy(text, text + std::strlen(text) + 1);
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, copy.data()), -1) << '"' << text << '"';
    }
    EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, nullptr), -1); // the text is never read
}

TEST_F(TarvokinModule, GetSpeakerArrangementClearsBothPointers) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    EXPECT_EQ(
        plugin->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
        0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(TarvokinModule, ProgramNameIndexedLeavesTheBufferUntouched) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    std::vector<char> buffer(256, '\x7f');
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 0, 0, buffer.data()), 0);
    EXPECT_EQ(buffer, std::vector<char>(256, '\x7f'));
}

TEST_F(TarvokinModule, CloseAnswersOneAndDestroysTheInstance) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    plugin->open();
    EXPECT_EQ(plugin->close(), 1);
    EXPECT_EQ(plugin->effect(), nullptr);
}

TEST_F(TarvokinModule, IdentityTextsStopAtTheirLimits) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    const struct {
        VstInt32 opcode;
        const char* text;
        std::size_t limit;
    } kCases[] = {
        {effGetEffectName, "Tarvokin", 32},
        {effGetVendorString, "mirel-dovka", 64},
        {effGetProductString, "Tarvokin", 64},
    };
    constexpr char kUntouched = '\x7f';
    for (const auto& c : kCases) {
        std::vector<char> buffer(256, kUntouched);
        EXPECT_EQ(plugin->dispatch(c.opcode, 0, 0, buffer.data()), 1);
        EXPECT_STREQ(buffer.data(), c.text) << "opcode " << c.opcode;
        EXPECT_EQ(buffer[c.limit], '\0') << "opcode " << c.opcode;
        for (std::size_t i = c.limit + 1; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], kUntouched) << "opcode " << c.opcode << " wrote byte " << i;
        }
    }
    EXPECT_EQ(plugin->effectName(), "Tarvokin");
    EXPECT_EQ(plugin->vendorString(), "mirel-dovka");
    EXPECT_EQ(plugin->productString(), "Tarvokin");
    EXPECT_EQ(plugin->vendorVersion(), 1000);
}

// Every opcode from -1000 to 1000 (but effClose) with index 0, value 0 and
// opt 0, once with a null ptr and once with a large zeroed buffer: nothing
// may crash or touch memory it does not own (the sanitizer runs watch), and
// the instance must still work afterwards. effEditOpen is left out of the
// buffer pass: a buffer's address is no parent window.
class OpcodeSweep : public TarvokinModule, public ::testing::WithParamInterface<bool> {};

TEST_P(OpcodeSweep, NoOpcodeBreaksTheInstance) {
    const bool withBuffer = GetParam();
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    plugin->open();
    std::vector<char> buffer(64 * 1024, 0);
    for (VstInt32 opcode = -1000; opcode <= 1000; ++opcode) {
        if (opcode == effClose || (withBuffer && opcode == effEditOpen)) {
            continue;
        }
        std::fill(buffer.begin(), buffer.end(), 0);
        plugin->dispatch(opcode, 0, 0, withBuffer ? buffer.data() : nullptr, 0.0f);
    }
    plugin->dispatch(effEditClose);

    EXPECT_EQ(plugin->vendorString(), "mirel-dovka");
    plugin->prepareToPlay(44100.0, 256);
    std::vector<float> left(256, 0.5f), right(256, 0.5f);
    float* channels[] = {left.data(), right.data()};
    plugin->processReplacing(channels, channels, 256);
    for (float sample : left) {
        ASSERT_TRUE(std::isfinite(sample));
    }
    EXPECT_EQ(plugin->close(), 1);
}

INSTANTIATE_TEST_SUITE_P(Pointers, OpcodeSweep, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "ZeroedBuffer" : "NullPtr"; });

} // namespace
} // namespace abi_tests
