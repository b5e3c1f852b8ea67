#pragma once

// Where the editor's controls sit on the 440 x 210 panel, in panel pixels. The pictures
// are drawn to fit these rectangles (right and bottom exclusive).
namespace panel {

struct Rect {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

constexpr int kWidth = 440;
constexpr int kHeight = 210;

// Step grid: 16 columns of one step slider each.
constexpr int kSteps = 16;
constexpr int kGridLeft = 30;
constexpr int kGridTop = 51;
constexpr int kColumnWidth = 15;
constexpr int kGridBottom = 148;
constexpr int kGridRight = kGridLeft + kSteps * kColumnWidth;
constexpr int kStepHandleWidth = 14;
constexpr int kStepHandleHeight = 8;
constexpr int kStepHandleTopAtOne = 51;
constexpr int kStepHandleTopAtZero = 140;
constexpr int kStepHandleOffsetX = 1; // clears the grid line in the column's first pixel

constexpr Rect stepSlider(int i) {
    return {kGridLeft + kColumnWidth * i, kGridTop, kGridLeft + kColumnWidth * (i + 1),
            kGridBottom};
}

constexpr int kSwitchTop = 165;
constexpr int kSwitchSize = 15;
constexpr Rect legatoSwitch(int k) {
    return {kGridLeft + kColumnWidth * k, kSwitchTop, kGridLeft + kColumnWidth * (k + 1),
            kSwitchTop + kSwitchSize};
}

// The three large sliders (Duration, Mix, Output) and their value boxes.
constexpr int kLargeSliders = 3;
constexpr int kLargeSliderSpacing = 40;
constexpr int kKnobWidth = 17;
constexpr int kKnobHeight = 22;
constexpr int kKnobTopAtOne = 40;
constexpr int kKnobTopAtZero = 118;
constexpr int kSlotWidth = 7;
constexpr int kSlotHeight = 100;

constexpr Rect largeSlider(int j) {
    return {316 + kLargeSliderSpacing * j, 40, 333 + kLargeSliderSpacing * j, 140};
}
constexpr Rect valueBox(int j) {
    return {312 + kLargeSliderSpacing * j, 22, 338 + kLargeSliderSpacing * j, 33};
}
// The slot sits centred in the slider's rectangle.
constexpr int slotLeft(int j) {
    return largeSlider(j).left + (kKnobWidth - kSlotWidth) / 2;
}

constexpr Rect kStepMenu{312, 167, 338, 178};
constexpr Rect kNoteMenu{356, 167, 382, 178};
constexpr Rect kDeclickSwitch{394, 165, 425, 180};

} // namespace panel
