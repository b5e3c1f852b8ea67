// AEffEditor: the plain editor interface the dispatcher drives for the editor
// opcodes. It lives beside the effect base because the dispatcher and the
// effect's destructor need it; the GUI-bound shell derives from it in editor/.
#pragma once

#include "host/vst_abi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect), systemWindow(nullptr) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    // Stores where the host finds the editor's rectangle; the plain editor has none.
    virtual bool getRect(ERect** rect) {
        if (rect != nullptr) {
            *rect = nullptr;
        }
        return false;
    }
    virtual bool open(void* ptr) {
        systemWindow = ptr;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*val*/) { return false; }
    // Told of every parameter change the effect receives, with the index and
    // the value as the effect got them; the plain editor has nothing to show.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

protected:
    AudioEffect* effect;
    void* systemWindow;
};
