// AEffGUIEditor: the editor shell that binds the host's editor calls to a
// frame of the GUI library. It reports the window size, lets the frame redraw
// on idle, forwards keys and wheel, paces the idle work the controls ask for
// while they track the mouse, and passes edit gestures on to the effect.
#pragma once

#include "gui/frame_owner.h"
#include "host/aeff_editor.h"

#include <cstdint>

class CFrame;

class AEffGUIEditor : public AEffEditor, public CFrameOwner {
public:
    // Takes the tick count, attaches itself to the effect and sets up OLE.
    explicit AEffGUIEditor(AudioEffect* effect);
    // Tears OLE down once. The frame is the panel's to let go of (in close).
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 val) override;

    // CFrameOwner: gestures go to the effect, which tells the host.
    void beginEdit(VstInt32 index) override;
    void endEdit(VstInt32 index) override;
    // The paced idle pass (see the .cpp).
    void doIdleStuff() override;
    bool hostCanSizeWindow() override;
    bool hostSizeWindow(int width, int height) override;

    CFrame* getFrame() const { return frame; }
    VstInt32 getKnobMode() const { return knobMode; }

protected:
    ERect rect{0, 0, 0, 0};
    std::uint32_t nextIdleTicks = 0;
    bool inMasterIdle = false;
    CFrame* frame = nullptr;
    VstInt32 knobMode = 0;
};
