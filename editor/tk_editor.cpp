#include "editor/tk_editor.h"

#include "editor/format_percent.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/con_off_button.h"
#include "gui/coption_menu.h"
#include "gui/cparam_display.h"
#include "gui/cvertical_slider.h"
#include "host/audio_effect.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace {

enum BitmapId {
    kKnobBitmap = 101,
    kDeclickBitmap = 102,
    kBackgroundBitmap = 103,
    kStepBackgroundBitmap = 104,
    kActiveHandleBitmap = 105,
    kLegatoBitmap = 106,
    kInactiveHandleBitmap = 108,
};

// Step grid: one column per step.
constexpr int kGridLeft = 30;
constexpr int kColumnWidth = 15;
constexpr int kStepTop = 51;
constexpr int kStepBottom = 148;
constexpr int kStepHandleTopAtMax = 51;
constexpr int kStepHandleTopAtMin = 140;
constexpr int kLegatoTop = 165;
constexpr int kLegatoBottom = 180;
// The three large sliders and their displays, 40 pixels apart.
constexpr int kLevelLeft = 316;
constexpr int kLevelSpacing = 40;
constexpr int kLevelWidth = 17;
constexpr int kLevelTop = 40;
constexpr int kLevelBottom = 140;
constexpr int kLevelHandleTopAtMax = 40;
constexpr int kLevelHandleTopAtMin = 118;
constexpr int kDisplayLeft = 312;
constexpr int kDisplayWidth = 26;
constexpr int kDisplayTop = 22;
constexpr int kDisplayBottom = 33;

constexpr const char* kNoteNames[] = {"1/4",  "1/8",  "1/16",  "1/32",
                                      "1/4T", "1/8T", "1/16T", "1/32T"};

// A bitmap holding one reference, or null when even that cannot be made.
CBitmap* loadBitmap(int id) noexcept {
    try {
        return new CBitmap(id);
    } catch (...) {
        return nullptr;
    }
}

void release(CBitmap*& bitmap) {
    if (bitmap != nullptr) {
        bitmap->forget();
        bitmap = nullptr;
    }
}

// The bitmaps only the controls use, held while open builds them.
struct ControlBitmaps {
    CBitmap* declick = loadBitmap(kDeclickBitmap);
    CBitmap* legato = loadBitmap(kLegatoBitmap);
    CBitmap* stepBackground = loadBitmap(kStepBackgroundBitmap);
    CBitmap* knob = loadBitmap(kKnobBitmap);
    ~ControlBitmaps() {
        release(declick);
        release(legato);
        release(stepBackground);
        release(knob);
    }
};

// Adds a control to the frame; the frame deletes it if it cannot keep it.
template <typename Control>
Control* add(CFrame* frame, Control* control) {
    if (control == nullptr || !frame->addView(control)) {
        return nullptr;
    }
    return control;
}

// A menu index as a float: the parameter value times the last index, in double.
float menuIndexFor(float value, int lastIndex) {
    return static_cast<float>(static_cast<double>(value) * lastIndex);
}

} // namespace

int stepCountFor(float value) {
    const double steps = 1.0 + std::trunc(15.0 * static_cast<double>(value));
    if (!(steps >= 0.0)) {
        return 0;
    }
    return steps > 17.0 ? 17 : static_cast<int>(steps);
}

TKEditor::TKEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    backgroundBitmap = loadBitmap(kBackgroundBitmap);
    activeHandleBitmap = loadBitmap(kActiveHandleBitmap);
    inactiveHandleBitmap = loadBitmap(kInactiveHandleBitmap);
    rect.top = 0;
    rect.left = 0;
    if (backgroundBitmap != nullptr) {
        rect.right = static_cast<VstInt16>(backgroundBitmap->getWidth());
        rect.bottom = static_cast<VstInt16>(backgroundBitmap->getHeight());
    }
}

TKEditor::~TKEditor() {
    // A host that destroys the effect with the window still open loses nothing.
    close();
    release(activeHandleBitmap);
    release(inactiveHandleBitmap);
    release(backgroundBitmap);
}

float TKEditor::effectValue(VstInt32 index) const {
    return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

bool TKEditor::open(void* ptr) {
    // Some hosts open again without closing: the old frame goes first.
    close();
    systemWindow = ptr;
    uiThread.store(std::this_thread::get_id());
    // The new frame reads every value afresh.
    for (auto& mark : changedElsewhere) {
        mark.store(false);
    }
    try {
        ControlBitmaps bitmaps;
        const int width = backgroundBitmap != nullptr ? backgroundBitmap->getWidth() : 0;
        const int height = backgroundBitmap != nullptr ? backgroundBitmap->getHeight() : 0;
        auto* newFrame = new CFrame({0, 0, width, height}, ptr, this);
        newFrame->setBackground(backgroundBitmap);
        try {
            buildControls(newFrame, bitmaps.legato, bitmaps.stepBackground, bitmaps.knob,
                          bitmaps.declick);
        } catch (...) {
            delete newFrame;
            throw;
        }
        frame = newFrame;
        return true;
    } catch (...) {
        frame = nullptr;
        return false;
    }
}

void TKEditor::buildControls(CFrame* target, CBitmap* legatoImages, CBitmap* stepBackground,
                             CBitmap* knob, CBitmap* declickImages) {
    const int steps = stepCountFor(effectValue(kParamStep));
    for (int i = 0; i < kNumSteps; ++i) {
        const int left = kGridLeft + kColumnWidth * i;
        auto* slider = new (std::nothrow) CVerticalSlider(
            {left, kStepTop, left + kColumnWidth, kStepBottom}, this, kParamProbability + i,
            kStepHandleTopAtMax, kStepHandleTopAtMin,
            i < steps ? activeHandleBitmap : inactiveHandleBitmap, stepBackground, {0, 0});
        if (slider != nullptr) {
            slider->setOffsetHandle({1, 0});
            slider->setValue(effectValue(kParamProbability + i));
        }
        stepSlider[i] = add(target, slider);
    }
    for (int k = 0; k < kNumSteps; ++k) {
        const int left = kGridLeft + kColumnWidth * k;
        auto* button = new (std::nothrow)
            COnOffButton({left, kLegatoTop, left + kColumnWidth, kLegatoBottom}, this,
                         kParamLegato + k, legatoImages, COnOffButton::kPreListenerUpdate);
        if (button != nullptr) {
            button->setValue(effectValue(kParamLegato + k));
        }
        legatoButton[k] = add(target, button);
    }
    CVerticalSlider** levelSliders[] = {&durationSlider, &mixSlider, &outputSlider};
    for (int n = 0; n < 3; ++n) {
        const int left = kLevelLeft + kLevelSpacing * n;
        const VstInt32 tag = kParamDuration + n;
        auto* slider = new (std::nothrow) CVerticalSlider(
            {left, kLevelTop, left + kLevelWidth, kLevelBottom}, this, tag, kLevelHandleTopAtMax,
            kLevelHandleTopAtMin, knob, backgroundBitmap, {kLevelLeft, kLevelTop});
        if (slider != nullptr) {
            slider->setValue(effectValue(tag));
        }
        *levelSliders[n] = add(target, slider);
    }
    CParamDisplay** displays[] = {&durationDisplay, &mixDisplay, &outputDisplay};
    for (int n = 0; n < 3; ++n) {
        const int left = kDisplayLeft + kLevelSpacing * n;
        auto* display = new (std::nothrow)
            CParamDisplay({left, kDisplayTop, left + kDisplayWidth, kDisplayBottom});
        if (display != nullptr) {
            display->setFont(kNormalFontSmall);
            display->setFontColor(kWhiteCColor);
            display->setBackColor(kBlackCColor);
            display->setValue(effectValue(kParamDuration + n));
            display->setStringConvert(&formatPercent);
        }
        *displays[n] = add(target, display);
    }

    auto setUpMenu = [](COptionMenu* menu) {
        menu->setFont(kNormalFontSmaller);
        menu->setFontColor(kWhiteCColor);
        menu->setBackColor(kBlackCColor);
        menu->setHoriAlign(kCenterText);
    };
    stepMenu = new (std::nothrow) COptionMenu({312, 167, 338, 178}, this, kParamStep);
    if (stepMenu != nullptr) {
        setUpMenu(stepMenu);
        for (int k = 0; k < kNumSteps; ++k) {
            char text[12];
            std::snprintf(text, sizeof text, "%d", k + 1);
            stepMenu->addEntry(text);
        }
        stepMenu->setValue(menuIndexFor(effectValue(kParamStep), 15));
        stepMenu = add(target, stepMenu);
    }
    noteMenu = new (std::nothrow) COptionMenu({356, 167, 382, 178}, this, kParamNote);
    if (noteMenu != nullptr) {
        setUpMenu(noteMenu);
        for (const char* name : kNoteNames) {
            noteMenu->addEntry(name);
        }
        noteMenu->setValue(menuIndexFor(effectValue(kParamNote), 7));
        noteMenu = add(target, noteMenu);
    }

    auto* declick = new (std::nothrow) COnOffButton(
        {394, 165, 425, 180}, this, kParamDeclick, declickImages, COnOffButton::kPreListenerUpdate);
    if (declick != nullptr) {
        declick->setValue(effectValue(kParamDeclick));
    }
    declickButton = add(target, declick);
}

void TKEditor::close() {
    // The editor forgets the panel at once. The host may close from inside a
    // control's tracking loop (through its idle callback): the frame then
    // ends the open gesture, stays detached until that event returns and
    // deletes itself there.
    CFrame* closing = frame;
    frame = nullptr;
    for (int i = 0; i < kNumSteps; ++i) {
        stepSlider[i] = nullptr;
        legatoButton[i] = nullptr;
    }
    durationSlider = mixSlider = outputSlider = nullptr;
    durationDisplay = mixDisplay = outputDisplay = nullptr;
    stepMenu = noteMenu = nullptr;
    declickButton = nullptr;
    if (closing != nullptr) {
        closing->forget();
    }
    AEffGUIEditor::close();
}

bool TKEditor::onUiThread() const {
    return uiThread.load() == std::this_thread::get_id();
}

void TKEditor::idle() {
    if (!inMasterIdle && frame != nullptr) {
        uiThread.store(std::this_thread::get_id());
        applyPendingParameters();
    }
    AEffGUIEditor::idle();
}

void TKEditor::setParameter(VstInt32 index, float /*value*/) {
    if (index < 0 || index >= kNumParams) {
        return;
    }
    if (!onUiThread()) {
        // Controls and bitmaps belong to the UI thread: hand the change over.
        changedElsewhere[index].store(true);
        return;
    }
    if (frame != nullptr) {
        applyParameter(index);
    }
}

void TKEditor::applyPendingParameters() {
    for (VstInt32 index = 0; index < kNumParams; ++index) {
        if (changedElsewhere[index].exchange(false)) {
            applyParameter(index);
        }
    }
}

void TKEditor::recolourStepHandles(int stepCount) {
    for (int i = 0; i < kNumSteps; ++i) {
        if (stepSlider[i] != nullptr) {
            stepSlider[i]->setHandle(i < stepCount ? activeHandleBitmap : inactiveHandleBitmap);
            stepSlider[i]->setDirty(true);
        }
    }
}

void TKEditor::applyParameter(VstInt32 index) {
    const float p = effectValue(index);
    auto set = [p](CControl* control) {
        if (control != nullptr) {
            control->setValue(p);
        }
    };
    if (index >= kParamProbability && index < kParamProbability + kNumSteps) {
        set(stepSlider[index - kParamProbability]);
    } else if (index >= kParamLegato && index < kParamLegato + kNumSteps) {
        set(legatoButton[index - kParamLegato]);
    } else if (index == kParamStep) {
        if (stepMenu != nullptr) {
            const int steps = stepCountFor(p);
            stepMenu->setValue(static_cast<float>(steps - 1));
            recolourStepHandles(steps);
        }
    } else if (index == kParamNote) {
        if (noteMenu != nullptr) {
            noteMenu->setValue(menuIndexFor(p, 7));
        }
    } else if (index == kParamDeclick) {
        set(declickButton);
    } else if (index == kParamDuration) {
        set(durationSlider);
        set(durationDisplay);
    } else if (index == kParamGateOff) {
        set(mixSlider);
        set(mixDisplay);
    } else if (index == kParamOutput) {
        set(outputSlider);
        set(outputDisplay);
    }
}

void TKEditor::valueChanged(CDrawContext* /*context*/, CControl* control) {
    if (control == nullptr) {
        return;
    }
    const long tag = control->getTag();
    if (static_cast<unsigned long>(tag) > static_cast<unsigned long>(kParamOutput)) {
        return;
    }
    const double v = control->getValue();
    float sent = static_cast<float>(v);
    if (tag == kParamStep) {
        sent = static_cast<float>(v / 15.0);
    } else if (tag == kParamNote) {
        sent = static_cast<float>(v / 7.0);
    }
    if (effect != nullptr) {
        effect->setParameterAutomated(static_cast<VstInt32>(tag), sent);
    }
    control->setDirty(true);
}

CVerticalSlider* TKEditor::getStepSlider(int step) const {
    return frame != nullptr && step >= 0 && step < kNumSteps ? stepSlider[step] : nullptr;
}

COnOffButton* TKEditor::getLegatoButton(int step) const {
    return frame != nullptr && step >= 0 && step < kNumSteps ? legatoButton[step] : nullptr;
}

// 0, 1, 2 for Duration, Mix, Output; -1 for any other index.
static int levelPosition(int index) {
    return index >= kParamDuration && index <= kParamOutput ? index - kParamDuration : -1;
}

CVerticalSlider* TKEditor::getLevelSlider(int index) const {
    CVerticalSlider* const sliders[] = {durationSlider, mixSlider, outputSlider};
    const int position = levelPosition(index);
    return frame != nullptr && position >= 0 ? sliders[position] : nullptr;
}

CParamDisplay* TKEditor::getLevelDisplay(int index) const {
    CParamDisplay* const displays[] = {durationDisplay, mixDisplay, outputDisplay};
    const int position = levelPosition(index);
    return frame != nullptr && position >= 0 ? displays[position] : nullptr;
}
