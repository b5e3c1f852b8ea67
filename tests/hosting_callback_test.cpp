// The host callback against the tests' own plug-in: which instance a request
// reaches, what is logged, what is answered, and the time-request counter.
#include "tests/hosting_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace hosting {
namespace {

using testing::loadTestModule;
using testing::sendThrough;

class HostingCallback : public ::testing::Test {
protected:
    std::unique_ptr<PluginModule> module = loadTestModule();
};

TEST_F(HostingCallback, ResolvesTheOnlyEntryNameTheModuleExports) {
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->entryName(), "VSTPluginMain");
    EXPECT_EQ(module->entry(), module->entryNamed("VSTPluginMain"));
    EXPECT_EQ(module->entryNamed("main"), nullptr);
    EXPECT_EQ(module->symbol("noSuchSymbol"), nullptr);
}

TEST_F(HostingCallback, LoadFailuresExplainThemselves) {
    std::string error;
    EXPECT_EQ(PluginModule::load("/no/such/plugin.so", &error), nullptr);
    EXPECT_NE(error.find("plugin.so"), std::string::npos) << error;
}

TEST_F(HostingCallback, RequestsDuringCreationReachTheInstanceBeingCreated) {
    std::string error;
    auto plugin = HostedPlugin::create(*module, {}, &error);
    ASSERT_NE(plugin, nullptr) << error;
    EXPECT_EQ(plugin->effect()->user, plugin.get());
    EXPECT_EQ(plugin->effect()->uniqueID, kTestModuleUniqueId);

    const std::vector<Request> log = plugin->requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].opcode, audioMasterVersion);
    EXPECT_EQ(log[0].ptr, nullptr);
    EXPECT_EQ(log[1].opcode, audioMasterCanDo);
    EXPECT_EQ(log[1].text, "sizeWindow");
    EXPECT_EQ(log[2].opcode, audioMasterGetSampleRate);
}

TEST_F(HostingCallback, AVersionOfZeroCreatesNothing) {
    HostState state;
    state.version = 0;
    std::string error;
    EXPECT_EQ(HostedPlugin::create(*module, state, &error), nullptr);
    EXPECT_FALSE(error.empty());
    auto live = reinterpret_cast<TestModuleLiveInstances>(module->symbol(kTestModuleLiveInstances));
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live(), 0);
}

TEST_F(HostingCallback, TwoInstancesEachLogOnlyTheirOwnRequests) {
    auto first = HostedPlugin::create(*module);
    auto second = HostedPlugin::create(*module);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->clearRequests();
    second->clearRequests();

    float value = 0.25f;
    sendThrough(*first, {audioMasterAutomate, 5, 0, nullptr, value});
    sendThrough(*second, {audioMasterBeginEdit, 7});
    sendThrough(*second, {audioMasterEndEdit, 7});

    const auto firstLog = first->requests();
    ASSERT_EQ(firstLog.size(), 1u);
    EXPECT_EQ(firstLog[0].opcode, audioMasterAutomate);
    EXPECT_EQ(firstLog[0].index, 5);
    EXPECT_EQ(firstLog[0].value, 0);
    EXPECT_EQ(firstLog[0].ptr, nullptr);
    EXPECT_EQ(firstLog[0].opt, 0.25f);

    const auto secondLog = second->requests();
    ASSERT_EQ(secondLog.size(), 2u);
    EXPECT_EQ(secondLog[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(secondLog[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(secondLog[1].index, 7);
}

TEST_F(HostingCallback, AnswersFollowTheHostState) {
    auto plugin = HostedPlugin::create(*module);
    ASSERT_NE(plugin, nullptr);
    HostState& state = plugin->state();
    state.version = -3;
    state.sampleRate = 48000;
    state.blockSize = 256;
    state.canDoAnswer = -1;
    state.sizeWindowAnswer = 0;
    char capability[] = "sizeWindow";
    const struct {
        TestModuleRequest request;
        VstIntPtr answer;
    } kCases[] = {
        {{audioMasterVersion}, -3},
        {{audioMasterGetSampleRate}, 48000},
        {{audioMasterGetBlockSize}, 256},
        {{audioMasterCanDo, 0, 0, capability}, -1},
        {{audioMasterSizeWindow, 440, 210}, 0},
        {{audioMasterAutomate, 1, 0, nullptr, 0.5f}, 0},
        {{audioMasterIdle}, 0},
        {{audioMasterBeginEdit, 3}, 0},
        {{audioMasterEndEdit, 3}, 0},
        {{audioMasterUpdateDisplay}, 0},
        {{12345}, 0},
        {{-1}, 0},
    };
    plugin->clearRequests();
    for (const auto& c : kCases) {
        EXPECT_EQ(sendThrough(*plugin, c.request), c.answer) << "opcode " << c.request.opcode;
    }
    const auto log = plugin->requests();
    ASSERT_EQ(log.size(), std::size(kCases));
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].opcode, kCases[i].request.opcode);
        EXPECT_EQ(log[i].index, kCases[i].request.index);
        EXPECT_EQ(log[i].value, kCases[i].request.value);
    }
    EXPECT_EQ(log[3].text, "sizeWindow");
}

TEST_F(HostingCallback, TimeRequestsAreCountedNotLogged) {
    auto plugin = HostedPlugin::create(*module);
    ASSERT_NE(plugin, nullptr);
    plugin->clearRequests();
    plugin->state().timeInfo.ppqPos = 6.5;
    std::vector<float> left(16), right(16);
    float* outputs[] = {left.data(), right.data()};
    plugin->processReplacing(outputs, outputs, 16);
    plugin->processReplacing(outputs, outputs, 16);
    EXPECT_EQ(left[15], 6.5f); // the module read the host's own record

    plugin->state().provideTimeInfo = false;
    plugin->processReplacing(outputs, outputs, 16);
    EXPECT_EQ(right[0], -1.0f); // it got null

    EXPECT_EQ(plugin->timeRequestCount(), 3);
    EXPECT_EQ(plugin->lastTimeFilter(), kVstPpqPosValid | kVstTempoValid);
    EXPECT_TRUE(plugin->requests().empty());

    // Through the dispatcher the same request answers the record's address.
    plugin->state().provideTimeInfo = true;
    EXPECT_EQ(sendThrough(*plugin, {audioMasterGetTime, 0, 0x200}),
              reinterpret_cast<VstIntPtr>(&plugin->state().timeInfo));
    EXPECT_EQ(plugin->lastTimeFilter(), 0x200);
}

TEST_F(HostingCallback, ARequestWithoutAKnownRecordGetsDefaultAnswers) {
    auto plugin = HostedPlugin::create(*module);
    ASSERT_NE(plugin, nullptr);
    plugin->state().version = 7;
    plugin->clearRequests();
    TestModuleRequest request{audioMasterVersion};
    request.withoutRecord = true;
    EXPECT_EQ(sendThrough(*plugin, request), HostState{}.version);
    EXPECT_TRUE(plugin->requests().empty());
}

TEST_F(HostingCallback, TextsAreKeptWholeBeyondTheInterfaceLimits) {
    auto plugin = HostedPlugin::create(*module);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->effectName(), "Hosting Test");
    EXPECT_EQ(plugin->parameterLabel(0), kTestModuleLongLabel);
    EXPECT_EQ(plugin->parameterName(0), ""); // the module writes nothing here
}

TEST_F(HostingCallback, CloseDestroysTheInstanceOnceAndTheDestructorClosesTheRest) {
    auto live = reinterpret_cast<TestModuleLiveInstances>(module->symbol(kTestModuleLiveInstances));
    ASSERT_NE(live, nullptr);
    auto closed = HostedPlugin::create(*module);
    auto dropped = HostedPlugin::create(*module);
    ASSERT_EQ(live(), 2);
    EXPECT_EQ(closed->close(), 1);
    EXPECT_EQ(closed->effect(), nullptr);
    EXPECT_EQ(closed->close(), 0);
    EXPECT_EQ(closed->dispatch(effGetVendorVersion), 0); // no record to call
    EXPECT_EQ(live(), 1);
    dropped.reset();
    EXPECT_EQ(live(), 0);
}

} // namespace
} // namespace hosting
