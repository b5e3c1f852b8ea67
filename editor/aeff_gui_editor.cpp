#include "editor/aeff_gui_editor.h"

#include "gui/cdraw_context.h"
#include "gui/cframe.h"
#include "host/audio_effect_x.h"
#include "platform/services.h"

namespace {

AudioEffectX* extended(AudioEffect* effect) {
    return dynamic_cast<AudioEffectX*>(effect);
}

CKeyCode toFrameKey(const VstKeyCode& key) {
    return {key.character, key.virt, key.modifier};
}

} // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
    nextIdleTicks = platform::tickCount();
    if (effect != nullptr) {
        effect->setEditor(this);
    }
    platform::oleInitialize();
}

AEffGUIEditor::~AEffGUIEditor() {
    platform::oleUninitialize();
}

bool AEffGUIEditor::getRect(ERect** out) {
    if (out == nullptr) {
        return false;
    }
    *out = &rect;
    return true;
}

void AEffGUIEditor::idle() {
    if (!inMasterIdle && frame != nullptr) {
        frame->idle();
    }
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
    if (frame == nullptr) {
        return false;
    }
    CKeyCode key = toFrameKey(keyCode);
    return frame->onKeyDown(key) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
    if (frame == nullptr) {
        return false;
    }
    CKeyCode key = toFrameKey(keyCode);
    return frame->onKeyUp(key) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (frame == nullptr) {
        return false;
    }
    // The cursor's screen position, made relative to the window's corner.
    CDrawContext context(frame);
    int x = 0;
    int y = 0;
    platform::cursorPosition(x, y);
    const CPoint origin = context.getWindowOrigin();
    return frame->onWheel({x - origin.x, y - origin.y}, distance);
}

bool AEffGUIEditor::setKnobMode(VstInt32 val) {
    knobMode = val;
    return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index) {
    if (AudioEffectX* target = extended(effect)) {
        target->beginEdit(index);
    }
}

void AEffGUIEditor::endEdit(VstInt32 index) {
    if (AudioEffectX* target = extended(effect)) {
        target->endEdit(index);
    }
}

// A call at or after the due time runs the pass at once; one from 54 ms before
// it sleeps 4 ms and then runs it; an earlier one only sleeps 4 ms. Tick
// arithmetic is unsigned 32-bit and wraps with the tick count.
void AEffGUIEditor::doIdleStuff() {
    std::uint32_t now = platform::tickCount();
    if (now < nextIdleTicks) {
        platform::sleepMilliseconds(4);
        now += 4;
        if (now < nextIdleTicks - 50) {
            return;
        }
    }
    idle();
    platform::dispatchOnePaintEvent();
    nextIdleTicks = now + 100;
    inMasterIdle = true;
    if (effect != nullptr) {
        effect->masterIdle();
    }
    inMasterIdle = false;
}

bool AEffGUIEditor::hostCanSizeWindow() {
    AudioEffectX* target = extended(effect);
    char text[] = "sizeWindow";
    return target != nullptr && target->canHostDo(text) != 0;
}

bool AEffGUIEditor::hostSizeWindow(int width, int height) {
    AudioEffectX* target = extended(effect);
    return target != nullptr && target->sizeWindow(width, height);
}
