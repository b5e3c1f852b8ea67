// The module's exports, the entry point's answer to each host version, and
// the record a new instance hands the host.
#include "tests/abi_support.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <vector>

namespace abi_tests {
namespace {

using hosting::HostedPlugin;
using hosting::HostState;

#if !defined(_WIN32)
std::set<std::string> exportedSymbols(const std::string& path) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return names;
    }
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) {
            names.insert(name);
        } else {
            ADD_FAILURE() << "unexpected nm output: " << line;
        }
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return names;
}

TEST_F(TarvokinModule, ExportsExactlyTheTwoEntryNames) {
    EXPECT_EQ(exportedSymbols(TARVOKIN_MODULE_PATH),
              (std::set<std::string>{"VSTPluginMain", "main"}));
}
#endif

// A record's contents apart from the two per-instance pointers, object and
// user, which differ between any two instances.
std::vector<unsigned char> sharedContents(const AEffect& record) {
    AEffect copy;
    std::memcpy(&copy, &record, sizeof copy);
    copy.object = nullptr;
    copy.user = nullptr;
    std::vector<unsigned char> bytes(sizeof copy);
    std::memcpy(bytes.data(), &copy, sizeof copy);
    return bytes;
}

TEST_F(TarvokinModule, MainGivesExactlyWhatVSTPluginMainGives) {
    auto viaMain = module->entryNamed("main");
    auto viaVSTPluginMain = module->entryNamed("VSTPluginMain");
    ASSERT_NE(viaMain, nullptr);
    ASSERT_NE(viaVSTPluginMain, nullptr);
    EXPECT_EQ(module->entry(), viaVSTPluginMain);

    auto first = HostedPlugin::createWith(viaVSTPluginMain);
    auto second = HostedPlugin::createWith(viaMain);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->effect(), second->effect());
    EXPECT_EQ(sharedContents(*first->effect()), sharedContents(*second->effect()));

    const auto firstLog = first->requests();
    const auto secondLog = second->requests();
    ASSERT_EQ(firstLog.size(), secondLog.size());
    for (std::size_t i = 0; i < firstLog.size(); ++i) {
        EXPECT_EQ(firstLog[i].opcode, secondLog[i].opcode) << "request " << i;
    }
    EXPECT_EQ(viaMain(nullptr), nullptr);
    EXPECT_EQ(viaVSTPluginMain(nullptr), nullptr);
}

// A host callback of the test's own, to see every request of a creation
// that yields no record.
std::vector<std::pair<AEffect*, VstInt32>> versionZeroRequests;
VstIntPtr VSTCALLBACK answerVersionZero(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr,
                                        void*, float) {
    versionZeroRequests.emplace_back(effect, opcode);
    return 0;
}

TEST_F(TarvokinModule, AHostAnsweringVersionZeroGetsNoRecordAndNothingIsCreated) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        versionZeroRequests.clear();
        EXPECT_EQ(module->entryNamed(name)(&answerVersionZero), nullptr) << name;
        ASSERT_EQ(versionZeroRequests.size(), 1u) << name;
        EXPECT_EQ(versionZeroRequests[0].first, nullptr);
        EXPECT_EQ(versionZeroRequests[0].second, audioMasterVersion);
    }
}

TEST_F(TarvokinModule, AnyNonZeroVersionGetsARecord) {
    std::vector<VstIntPtr> versions = {1, 2, 2400, 2500, -1, -2400, INTPTR_MIN, INTPTR_MAX};
    if constexpr (sizeof(VstIntPtr) > 4) {
        // Non-zero only above 32 bits: must not be narrowed to 0.
        versions.push_back(static_cast<VstIntPtr>(1) << 32);
    }
    for (VstIntPtr version : versions) {
        HostState state;
        state.version = version;
        std::string error;
        auto plugin = HostedPlugin::create(*module, state, &error);
        ASSERT_NE(plugin, nullptr) << "version " << version << ": " << error;
        const auto log = plugin->requests();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log[0].opcode, audioMasterVersion);
        EXPECT_EQ(log[0].ptr, nullptr);
    }
}

TEST_F(TarvokinModule, ANewRecordCarriesTheIdentityAndCapabilities) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    const AEffect& record = *plugin->effect();
    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(record.numPrograms, 8);
    EXPECT_EQ(record.numParams, 38);
    EXPECT_EQ(record.numInputs, 2);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_NE(record.flags & effFlagsCanReplacing, 0);
    EXPECT_EQ(record.flags & effFlagsCanDoubleReplacing, 0);
    EXPECT_EQ(record.flags, effFlagsHasEditor | effFlagsCanReplacing); // the panel attaches itself
    EXPECT_EQ(record.uniqueID, 0x746B3637);                            // 'tk67'
    EXPECT_EQ(record.version, 1);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_EQ(record.initialDelay, 0);
    EXPECT_EQ(record.realQualities, 0);
    EXPECT_EQ(record.offQualities, 0);
    EXPECT_EQ(record.resvd1, 0);
    EXPECT_EQ(record.resvd2, 0);
    EXPECT_NE(record.object, nullptr);
    EXPECT_EQ(record.user, plugin.get()); // the host's field, as the host set it
    const char zeros[sizeof record.future] = {};
    EXPECT_EQ(std::memcmp(record.future, zeros, sizeof zeros), 0);
    EXPECT_NE(record.dispatcher, nullptr);
    EXPECT_NE(record.process, nullptr);
    EXPECT_NE(record.setParameter, nullptr);
    EXPECT_NE(record.getParameter, nullptr);
    EXPECT_NE(record.processReplacing, nullptr);
    EXPECT_NE(record.processDoubleReplacing, nullptr);
}

// Buffers of two channels filled with distinct values, to see whether a
// processing entry wrote anything.
template <typename Sample>
struct MarkedBuffers {
    static constexpr VstInt32 kFrames = 64;
    std::array<std::vector<Sample>, 4> samples;
    Sample* inputs[2];
    Sample* outputs[2];

    MarkedBuffers() {
        for (int channel = 0; channel < 4; ++channel) {
            samples[channel].resize(kFrames);
            for (VstInt32 i = 0; i < kFrames; ++i) {
                samples[channel][i] = static_cast<Sample>(channel * 1000 + i) + Sample(0.25);
            }
        }
        inputs[0] = samples[0].data();
        inputs[1] = samples[1].data();
        outputs[0] = samples[2].data();
        outputs[1] = samples[3].data();
    }
    bool untouched() const { return MarkedBuffers().samples == samples; }
};

TEST_F(TarvokinModule, TheDoubleAndAccumulatingProcessEntriesLeaveBuffersUntouched) {
    auto plugin = create();
    ASSERT_NE(plugin, nullptr);
    plugin->open();
    plugin->prepareToPlay(44100.0, MarkedBuffers<float>::kFrames);
    AEffect* record = plugin->effect();

    MarkedBuffers<double> doubles;
    record->processDoubleReplacing(record, doubles.inputs, doubles.outputs, doubles.kFrames);
    EXPECT_TRUE(doubles.untouched());

    MarkedBuffers<float> floats;
    record->process(record, floats.inputs, floats.outputs, floats.kFrames);
    EXPECT_TRUE(floats.untouched());
    EXPECT_EQ(plugin->timeRequestCount(), 0); // neither is the gate
}

} // namespace
} // namespace abi_tests
