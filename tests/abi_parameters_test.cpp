// Parameters and programs of the built module as a host sees them: through
// the record's parameter functions and the dispatcher only.
#include "tests/abi_support.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace abi_tests {
namespace {

constexpr char kUntouched = '#';

// A host text buffer, pre-filled so that every byte the plug-in writes shows.
struct HostBuffer {
    HostBuffer() { bytes.fill(kUntouched); }
    std::size_t bytesWritten() const {
        std::size_t i = 0;
        while (i < bytes.size() && bytes[i] != kUntouched) {
            ++i;
        }
        return i;
    }
    std::array<char, 64> bytes;
};

class TarvokinParameters : public TarvokinModule {
protected:
    void SetUp() override {
        TarvokinModule::SetUp();
        plugin = create();
        ASSERT_NE(plugin, nullptr);
    }
    HostBuffer ask(VstInt32 opcode, VstInt32 index = 0) {
        HostBuffer buffer;
        plugin->dispatch(opcode, index, 0, buffer.bytes.data());
        return buffer;
    }
    std::unique_ptr<hosting::HostedPlugin> plugin;
};

TEST_F(TarvokinParameters, TableAsTheHostSeesIt) {
    const struct {
        VstInt32 index;
        float value;
        float get;
        const char* display;
        const char* name;
        const char* label;
    } rows[] = {
        {0, 0.57f, 0.57f, "56", "Prob1", "%"},
        {15, 0.25f, 0.25f, "25", "Prob16", "%"},
        {16, 0.5f, 1.0f, "1", "Legat1", " "},
        {31, 0.49f, 0.0f, "0", "Legat16", " "},
        {32, 0.99f, 14.0f / 15.0f, "15", "Step", " "},
        {33, 0.999f, 6.0f / 7.0f, "1/16T", "Note", " "},
        {34, 0.2f, 0.0f, "0", "Declick", " "},
        {35, 0.5f, 0.5f, "50", "Duratio", "%"},
        {36, 1.0f, 1.0f, "0", "Gateoff", "%"},
        {37, 0.75f, 0.75f, "75", "Output", "%"},
        // outside the host contract: integer fields clamp, NaN selects the first entry
        {32, 2.0f, 1.0f, "16", "Step", " "},
        {33, std::nanf(""), 0.0f, "1/4", "Note", " "},
    };
    for (const auto& row : rows) {
        plugin->setParameter(row.index, row.value);
        EXPECT_EQ(plugin->getParameter(row.index), row.get) << row.index;
        EXPECT_EQ(plugin->parameterDisplay(row.index), row.display) << row.index;
        EXPECT_EQ(plugin->parameterName(row.index), row.name) << row.index;
        EXPECT_EQ(plugin->parameterLabel(row.index), row.label) << row.index;
    }
    // The selectors' values survive a round trip through the host.
    for (VstInt32 index : {32, 33}) {
        const float value = plugin->getParameter(index);
        const std::string text = plugin->parameterDisplay(index);
        plugin->setParameter(index, value);
        EXPECT_EQ(plugin->parameterDisplay(index), text) << index;
    }
}

TEST_F(TarvokinParameters, TextsStopAtEightCharactersAndOutsideIndicesGetNothing) {
    plugin->setParameter(37, 1e30f); // the widest display there is
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        for (VstInt32 index = 0; index < 38; ++index) {
            const HostBuffer buffer = ask(opcode, index);
            EXPECT_GT(buffer.bytesWritten(), 0u) << opcode << "/" << index;
            EXPECT_LE(buffer.bytesWritten(), 9u) << opcode << "/" << index;
            EXPECT_NE(std::memchr(buffer.bytes.data(), '\0', 9), nullptr) << opcode << "/" << index;
        }
        for (VstInt32 index : {38, 1000, -1, INT_MIN}) {
            EXPECT_EQ(ask(opcode, index).bytesWritten(), 0u) << opcode << "/" << index;
        }
    }
    EXPECT_EQ(plugin->parameterDisplay(37), "99999999");
    plugin->setParameter(38, 0.5f);
    EXPECT_EQ(plugin->getParameter(38), 0.0f);
    EXPECT_EQ(plugin->getParameter(-1), 0.0f);
}

TEST_F(TarvokinParameters, DefaultDisplaysAfterLoading) {
    std::vector<std::string> expected;
    for (int step = 0; step < 16; ++step) {
        expected.push_back(step % 2 == 0 ? "100" : "0");
    }
    expected.insert(expected.end(), 16, "0");
    for (const char* text : {"8", "1/16", "1", "100", "0", "100"}) {
        expected.push_back(text);
    }
    std::vector<std::string> displays;
    for (VstInt32 index = 0; index < 38; ++index) {
        displays.push_back(plugin->parameterDisplay(index));
    }
    EXPECT_EQ(displays, expected);
    EXPECT_EQ(plugin->program(), 0);
    EXPECT_EQ(plugin->programName(), "Init 1");
}

TEST_F(TarvokinParameters, ProgramsSwitchRecallAndKeepTheirNames) {
    plugin->setProgram(2);
    plugin->setParameter(0, 0.3f);
    plugin->setParameter(33, 0.5f);
    plugin->setProgramName("Sparse");
    plugin->setProgram(5);
    EXPECT_EQ(plugin->programName(), "Init 6");
    EXPECT_EQ(plugin->getParameter(0), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(33), "1/16");

    for (VstIntPtr outside : {8, -1}) {
        plugin->dispatch(effSetProgram, 0, outside);
        EXPECT_EQ(plugin->program(), 5);
    }

    plugin->setProgram(2);
    EXPECT_EQ(plugin->programName(), "Sparse");
    EXPECT_EQ(plugin->getParameter(0), 0.3f);
    EXPECT_EQ(plugin->parameterDisplay(33), "1/32");
}

TEST_F(TarvokinParameters, ProgramNamesStopAtTwentyFourCharacters) {
    const struct {
        const char* set;
        const char* reported;
    } names[] = {
        {"123456789012345678901234567890", "123456789012345678901234"},
        {"Init", "Init 1"},
        {"init", "init"},
        {"Init ", "Init "},
    };
    for (const auto& name : names) {
        plugin->setProgramName(name.set);
        const HostBuffer buffer = ask(effGetProgramName);
        EXPECT_EQ(std::string(buffer.bytes.data()), name.reported);
        EXPECT_LE(buffer.bytesWritten(), 25u) << name.set;
        EXPECT_EQ(plugin->programName(), name.reported);
    }
}

} // namespace
} // namespace abi_tests
