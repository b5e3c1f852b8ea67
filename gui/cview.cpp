#include "gui/cview.h"

#include "gui/cbitmap.h"
#include "gui/cframe.h"

#include <cmath>

void CView::redraw(CDrawContext* context) {
    draw(context);
    wasDrawn();
}

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag), background(background) {
    if (background != nullptr) {
        background->remember();
    }
}

CControl::~CControl() {
    if (background != nullptr) {
        background->forget();
    }
}

void CControl::setValue(float newValue) {
    if (std::isnan(newValue)) {
        return;
    }
    value = newValue;
}

void CControl::bounceValue() {
    if (value > maxValue) {
        value = maxValue;
    } else if (value < minValue) {
        value = minValue;
    }
}

void CControl::setBackground(CBitmap* bitmap) {
    if (bitmap == background) {
        return;
    }
    if (bitmap != nullptr) {
        bitmap->remember();
    }
    if (background != nullptr) {
        background->forget();
    }
    background = bitmap;
    setDirty(true);
}

bool CControl::isDirty() const {
    return dirty || !drawnOnce || value != lastDrawnValue;
}

void CControl::wasDrawn() {
    CView::wasDrawn();
    lastDrawnValue = value;
    drawnOnce = true;
}

void CControl::beginEdit() {
    if (frame != nullptr) {
        frame->beginEdit(tag);
    }
}

void CControl::endEdit() {
    if (frame != nullptr) {
        frame->endEdit(tag);
    }
}

bool CControl::listening() const {
    // The listener of a detached frame's controls may be gone already.
    return listener != nullptr && (frame == nullptr || !frame->isDetached());
}

void CControl::reportValue(CDrawContext* context) {
    if (listening()) {
        listener->valueChanged(context, this);
    }
}

bool CControl::modifierClickHandled(CDrawContext* context, long buttons) {
    constexpr long kModifiers = kShift | kControl | kAlt | kApple;
    return listening() && (buttons & kModifiers) != 0 &&
           listener->controlModifierClicked(context, this, buttons) != 0;
}
