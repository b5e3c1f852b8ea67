// Loading the hosting tests' own tiny plug-in.
#pragma once

#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"
#include "tests/hosting_test_module.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace hosting::testing {

inline std::unique_ptr<PluginModule> loadTestModule() {
    std::string error;
    auto module = PluginModule::load(HOSTING_TEST_MODULE_PATH, &error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

// Makes the test module send one request and answers what the host answered.
inline VstIntPtr sendThrough(HostedPlugin& plugin, TestModuleRequest request) {
    return plugin.dispatch(effVendorSpecific, 0, 0, &request);
}

} // namespace hosting::testing
