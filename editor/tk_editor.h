// TKEditor: the plug-in's panel, 440 x 210 pixels: 16 step sliders, 16
// legato switches, Duration/Mix/Output sliders with displays, the Step and
// Note menus and the Declick switch. Every control's tag is its parameter.
#pragma once

#include "editor/aeff_gui_editor.h"
#include "engine/parameter_ids.h"
#include "gui/cview.h"

#include <atomic>
#include <thread>

class AudioEffectX;
class CBitmap;
class COnOffButton;
class COptionMenu;
class CParamDisplay;
class CVerticalSlider;

class TKEditor : public AEffGUIEditor, public CControlListener {
public:
    // Loads the background and the two handle bitmaps and takes the panel's
    // size from the background.
    explicit TKEditor(AudioEffect* effect);
    ~TKEditor() override;

    // Builds the frame and its 41 controls from the current parameter values.
    // Opening again while open replaces the frame. A null parent gives an
    // offscreen frame. False only when the frame cannot be made.
    bool open(void* ptr) override;
    // Forgets the frame and its controls at once; the frame goes away when
    // any event it is still delivering returns (see CFrame::forget).
    void close() override;
    // Applies parameter changes that arrived on other threads, then redraws.
    void idle() override;
    // Moves the control of a parameter. On the UI thread at once; from any
    // other thread the change is marked and applied at the next idle pass.
    void setParameter(VstInt32 index, float value) override;

    void valueChanged(CDrawContext* context, CControl* control) override;

    // The controls, for tests and tools; null while closed.
    CVerticalSlider* getStepSlider(int step) const;
    COnOffButton* getLegatoButton(int step) const;
    COptionMenu* getStepMenu() const { return frame != nullptr ? stepMenu : nullptr; }
    COptionMenu* getNoteMenu() const { return frame != nullptr ? noteMenu : nullptr; }
    COnOffButton* getDeclickButton() const { return frame != nullptr ? declickButton : nullptr; }
    CVerticalSlider* getLevelSlider(int index) const; // 35, 36 or 37
    CParamDisplay* getLevelDisplay(int index) const;  // 35, 36 or 37
    CBitmap* getActiveHandle() const { return activeHandleBitmap; }
    CBitmap* getInactiveHandle() const { return inactiveHandleBitmap; }

private:
    // Moves the control(s) of one parameter to the effect's value (UI thread).
    void applyParameter(VstInt32 index);
    void applyPendingParameters();
    bool onUiThread() const;
    float effectValue(VstInt32 index) const;
    void recolourStepHandles(int stepCount);
    void buildControls(CFrame* target, CBitmap* legatoImages, CBitmap* stepBackground,
                       CBitmap* knob, CBitmap* declickImages);

    CVerticalSlider* stepSlider[kNumSteps] = {};
    COnOffButton* legatoButton[kNumSteps] = {};
    CVerticalSlider* durationSlider = nullptr;
    CVerticalSlider* mixSlider = nullptr;
    CVerticalSlider* outputSlider = nullptr;
    CParamDisplay* durationDisplay = nullptr;
    CParamDisplay* mixDisplay = nullptr;
    CParamDisplay* outputDisplay = nullptr;
    COptionMenu* stepMenu = nullptr;
    COptionMenu* noteMenu = nullptr;
    COnOffButton* declickButton = nullptr;
    CBitmap* backgroundBitmap = nullptr;
    CBitmap* activeHandleBitmap = nullptr;
    CBitmap* inactiveHandleBitmap = nullptr;

    // The thread that opens and idles the panel, and the parameters changed
    // elsewhere since the last idle pass.
    std::atomic<std::thread::id> uiThread{};
    std::atomic<bool> changedElsewhere[kNumParams] = {};
};

// The number of steps for a value of parameter 32: 1 + trunc(15 * value),
// limited to 0..17 (NaN gives 0), so that out-of-range values colour no
// handle or all of them.
int stepCountFor(float value);
