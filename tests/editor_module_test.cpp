// The editor of the built module, driven only through the binary interface as
// a host drives it: size, open with no parent window (offscreen), idle, keys,
// knob mode, parameter changes while open and closed, close and reopen.
#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class EditorModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = hosting::PluginModule::load(TARVOKIN_MODULE_PATH, &error);
        ASSERT_NE(module, nullptr) << error;
        plugin = hosting::HostedPlugin::create(*module, {}, &error);
        ASSERT_NE(plugin, nullptr) << error;
        plugin->open();
    }
    void TearDown() override {
        plugin.reset();
        module.reset();
    }

    std::unique_ptr<hosting::PluginModule> module;
    std::unique_ptr<hosting::HostedPlugin> plugin;
};

TEST_F(EditorModuleTest, EditorOpcodesThroughTheRecord) {
    EXPECT_EQ(plugin->effect()->flags, effFlagsHasEditor | effFlagsCanReplacing);
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 440);
    EXPECT_EQ(rect->bottom - rect->top, 210);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
        // Some hosts open twice: the second open replaces the first panel.
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
        }
        plugin->setParameter(32, 1.0f);
        EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
        EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
        EXPECT_EQ(plugin->dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
        EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 1);
        EXPECT_EQ(plugin->dispatch(effEditClose), 0);
        // Closed: changes and idle touch nothing.
        plugin->setParameter(32, 0.0f);
        EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
        EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    }
    // Idle alone never asks the host for idle time; only a control's paced pass does.
    for (const auto& request : plugin->requests()) {
        EXPECT_NE(request.opcode, audioMasterIdle);
    }
}

TEST_F(EditorModuleTest, EffectClosedWhileThePanelIsOpen) {
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    plugin->dispatch(effEditIdle);
    EXPECT_EQ(plugin->close(), 1); // the sanitizer run checks that nothing leaks
}

} // namespace
