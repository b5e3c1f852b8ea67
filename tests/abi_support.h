// The built Tarvokin module as a host sees it: loaded through hosting/, one
// instance created with a scripted host.
#pragma once

#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace abi_tests {

inline std::unique_ptr<hosting::PluginModule> loadTarvokin() {
    std::string error;
    auto module = hosting::PluginModule::load(TARVOKIN_MODULE_PATH, &error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

class TarvokinModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }

    std::unique_ptr<hosting::HostedPlugin> create(hosting::HostState state = {}) {
        std::string error;
        auto plugin = hosting::HostedPlugin::create(*module, state, &error);
        EXPECT_NE(plugin, nullptr) << error;
        return plugin;
    }

    std::unique_ptr<hosting::PluginModule> module = loadTarvokin();
};

} // namespace abi_tests
