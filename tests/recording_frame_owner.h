// A frame owner for the GUI tests: records what the frame asks of its owner
// (gestures, idle passes) and what controls report, in order.
#pragma once

#include "gui/cframe.h"
#include "gui/cview.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace guitest {

// Records what the frame asks of its owner and what controls report.
class Recorder : public CFrameOwner, public CControlListener {
public:
    void beginEdit(std::int32_t tag) override { note("begin " + std::to_string(tag)); }
    void endEdit(std::int32_t tag) override { note("end " + std::to_string(tag)); }
    void doIdleStuff() override {
        note("idle");
        if (idleFrame != nullptr) {
            idleFrame->idle();
        }
    }
    bool hostCanSizeWindow() override { return false; }
    bool hostSizeWindow(int, int) override { return false; }
    void valueChanged(CDrawContext*, CControl* control) override {
        char text[32];
        std::snprintf(text, sizeof text, "value %ld %g", control->getTag(),
                      static_cast<double>(control->getValue()));
        note(text);
    }
    void note(const std::string& entry) {
        log.push_back(entry);
        if (afterNote) {
            afterNote(entry);
        }
    }
    std::vector<std::string> log;
    // When set, the idle pass idles this frame, as the editor shell does.
    CFrame* idleFrame = nullptr;
    // When set, runs after each entry is logged (an owner reacting to it).
    std::function<void(const std::string&)> afterNote;
};

} // namespace guitest
