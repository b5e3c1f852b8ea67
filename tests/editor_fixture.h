// Shared pieces of the editor suites: a fake host that records every request,
// fake platform services (clock, sleep, paint, cursor, OLE counters) and a
// fixture with the real effect and its panel open on the offscreen backend.
#pragma once

#include "editor/tk_editor.h"
#include "gui/offscreen_window.h"
#include "host/audio_effect.h"
#include "platform/services.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

struct HostRequest {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

// The host side: answers the version, "sizeWindow" as configured, and
// records every request. One instance is current at a time.
class FakeHost {
public:
    FakeHost();
    ~FakeHost();

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

    std::vector<HostRequest> requests() const;
    // The requests with one of the given opcodes, in order.
    std::vector<HostRequest> requestsOf(std::initializer_list<VstInt32> opcodes) const;
    void clear();
    int count(VstInt32 opcode) const;

    bool canSizeWindow = false;
    // Runs inside the host's answer to audioMasterIdle.
    std::function<void()> onIdle;

private:
    mutable std::mutex mutex;
    std::vector<HostRequest> log;
};

// Fake platform services, installed while the object lives.
class FakeServices {
public:
    FakeServices();
    ~FakeServices();

    std::uint32_t now = 1000;
    // Whether a sleep moves the clock on (like a real one would).
    bool sleepAdvancesClock = false;
    int sleeps = 0;
    int paintDispatches = 0;
    int oleInits = 0;
    int oleUninits = 0;
    int cursorX = 0;
    int cursorY = 0;
};

// The real effect with its panel open offscreen and fake services.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the panel (null parent) and draws it once.
    void openPanel();
    AEffect* record() const { return effect->getAeffect(); }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    CFrame* frame() const { return editor->getFrame(); }
    OffscreenWindow& window() const;
    // A click at where followed by one idle pass of the host.
    void clickAndIdle(CPoint where);
    // Moves the fake clock past the next due time so a pass runs.
    void makeIdleDue() { services.now += 1000; }

    FakeServices services;
    FakeHost host;
    AudioEffect* effect = nullptr;
    TKEditor* editor = nullptr;
};

// The text a display or menu shows.
std::string shownText(CParamDisplay* display);
