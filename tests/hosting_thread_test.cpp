// A host's two threads at once: the audio thread processes blocks while the
// user-interface thread sends requests through the dispatcher and sets
// parameters. Meant for the ThreadSanitizer run.
#include "tests/hosting_test_support.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace hosting {
namespace {

TEST(HostingThreads, AudioAndUserInterfaceThreadsShareOneInstance) {
    auto module = testing::loadTestModule();
    ASSERT_NE(module, nullptr);
    auto plugin = HostedPlugin::create(*module);
    ASSERT_NE(plugin, nullptr);
    plugin->clearRequests();

    constexpr int kBlocks = 2000;
    constexpr int kEdits = 500;
    std::thread audio([&] {
        std::vector<float> left(64), right(64);
        float* outputs[] = {left.data(), right.data()};
        for (int block = 0; block < kBlocks; ++block) {
            plugin->processReplacing(outputs, outputs, 64);
        }
    });
    for (int edit = 0; edit < kEdits; ++edit) {
        const float value = static_cast<float>(edit) / kEdits;
        plugin->setParameter(0, value);
        testing::sendThrough(*plugin, {audioMasterAutomate, 0, 0, nullptr, value});
        EXPECT_EQ(plugin->getParameter(0), value);
        (void)plugin->requests();
    }
    audio.join();

    EXPECT_EQ(plugin->timeRequestCount(), kBlocks);
    EXPECT_EQ(plugin->requests().size(), static_cast<std::size_t>(kEdits));
}

} // namespace
} // namespace hosting
