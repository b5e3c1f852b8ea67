// The hosting library against installed third-party VST 2.4 plug-ins, one
// exporting only "main" and one exporting only "VSTPluginMain". Skipped where
// the packages are not installed.
#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace hosting {
namespace {

struct ThirdParty {
    const char* path;
    const char* entryName;   // the only entry name it exports
    const char* missingName; // the other one
};

class HostingThirdParty : public ::testing::TestWithParam<ThirdParty> {};

TEST_P(HostingThirdParty, LoadsCreatesProcessesSilenceAndCloses) {
    const ThirdParty& plugin = GetParam();
#if defined(__SANITIZE_ADDRESS__)
    // What these plug-ins leave allocated (one keeps caches in a library it
    // unloads itself) is theirs: the leak check is for our own code.
    __lsan::ScopedDisabler thirdPartyAllocations;
#endif
#if defined(_WIN32)
    GTEST_SKIP() << plugin.path << " is a Linux module; the Windows build cannot load it";
#endif
    if (!std::filesystem::exists(plugin.path)) {
        GTEST_SKIP() << plugin.path << " is not installed";
    }
    std::string error;
    auto module = PluginModule::load(plugin.path, &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->entryName(), plugin.entryName);
    EXPECT_EQ(module->entryNamed(plugin.missingName), nullptr);

    auto instance = HostedPlugin::create(*module, {}, &error);
    ASSERT_NE(instance, nullptr) << error;
    const AEffect& record = *instance->effect();
    EXPECT_EQ(record.magic, kEffectMagic);
    EXPECT_EQ(record.user, instance.get());
    EXPECT_NE(record.uniqueID, 0);
    ASSERT_GT(record.numOutputs, 0);
    ASSERT_NE(record.processReplacing, nullptr);

    instance->open();
    EXPECT_FALSE(instance->effectName().empty());
    EXPECT_FALSE(instance->vendorString().empty());
    EXPECT_FALSE(instance->productString().empty());
    EXPECT_EQ(instance->vstVersion(), kVstVersion);
    if (record.numParams > 0) {
        EXPECT_FALSE(instance->parameterName(0).empty());
    }

    constexpr VstInt32 kFrames = 512;
    instance->prepareToPlay(48000.0, kFrames);
    std::vector<std::vector<float>> inputs(record.numInputs, std::vector<float>(kFrames, 0.0f));
    std::vector<std::vector<float>> outputs(record.numOutputs, std::vector<float>(kFrames, 123.0f));
    std::vector<float*> in, out;
    for (auto& channel : inputs) {
        in.push_back(channel.data());
    }
    for (auto& channel : outputs) {
        out.push_back(channel.data());
    }
    for (int block = 0; block < 4; ++block) {
        instance->processReplacing(in.data(), out.data(), kFrames);
    }
    for (const auto& channel : outputs) {
        for (float sample : channel) {
            ASSERT_TRUE(std::isfinite(sample));
            ASSERT_LT(std::fabs(sample), 1e-3f); // silence in, (near) silence out
        }
    }

    instance->suspend();
    instance->close();
    EXPECT_EQ(instance->effect(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Installed, HostingThirdParty,
    ::testing::Values(ThirdParty{"/usr/lib/vst/MVerb-vst.so", "main", "VSTPluginMain"},
                      ThirdParty{"/usr/lib/vst/lsp-plugins/gate-stereo.so", "VSTPluginMain",
                                 "main"}),
    [](const auto& info) { return std::string(info.param.entryName) == "main" ? "dpf" : "lsp"; });

} // namespace
} // namespace hosting
