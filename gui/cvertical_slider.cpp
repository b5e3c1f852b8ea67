#include "gui/cvertical_slider.h"

#include "gui/cbitmap.h"
#include "gui/cdraw_context.h"
#include "gui/cframe.h"

#include <cmath>

CVerticalSlider::CVerticalSlider(const CRect& size, CControlListener* listener, long tag,
                                 int handleTopAtMax, int handleTopAtMin, CBitmap* handle,
                                 CBitmap* background, CPoint backgroundOffset)
    : CControl(size, listener, tag, background), topAtMax(handleTopAtMax), topAtMin(handleTopAtMin),
      handle(handle), backgroundOffset(backgroundOffset) {
    if (handle != nullptr) {
        handle->remember();
    }
}

CVerticalSlider::~CVerticalSlider() {
    if (handle != nullptr) {
        handle->forget();
    }
}

void CVerticalSlider::setOffsetHandle(CPoint offset) {
    handleOffset = offset;
    setDirty(true);
}

void CVerticalSlider::setHandle(CBitmap* bitmap) {
    if (bitmap == handle) {
        return;
    }
    if (bitmap != nullptr) {
        bitmap->remember();
    }
    if (handle != nullptr) {
        handle->forget();
    }
    handle = bitmap;
    setDirty(true);
}

CRect CVerticalSlider::handleRect() const {
    // Values outside 0..1 keep the handle at the nearest end.
    float v = value;
    if (!(v >= 0.0f)) {
        v = 0.0f;
    } else if (v > 1.0f) {
        v = 1.0f;
    }
    const double travel = static_cast<double>(topAtMin - topAtMax);
    const int top = topAtMax + static_cast<int>(std::lround((1.0 - v) * travel)) + handleOffset.y;
    const int left = size.left + handleOffset.x;
    const int width = handle != nullptr ? handle->getWidth() : 0;
    const int height = handle != nullptr ? handle->getHeight() : 0;
    return {left, top, left + width, top + height};
}

void CVerticalSlider::draw(CDrawContext* context) {
    context->drawBitmap(background, size, backgroundOffset);
    // Only the part of the handle inside the slider, from the matching source pixel.
    const CRect whole = handleRect();
    const CRect shown = whole.intersected(size);
    context->drawTransparent(handle, shown, {shown.left - whole.left, shown.top - whole.top});
}

float CVerticalSlider::valueForHandleTop(int handleTop) const {
    if (topAtMin == topAtMax) {
        return value;
    }
    const double v = 1.0 - static_cast<double>(handleTop - topAtMax) / (topAtMin - topAtMax);
    return static_cast<float>(v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v));
}

void CVerticalSlider::changeTo(CDrawContext* context, float newValue) {
    if (newValue == value) {
        return;
    }
    value = newValue;
    bounceValue();
    reportValue(context);
}

void CVerticalSlider::mouse(CDrawContext* context, CPoint where, long buttons) {
    if ((buttons & kLButton) == 0 || modifierClickHandled(context, buttons)) {
        return;
    }
    if ((buttons & kControl) != 0) {
        beginEdit();
        value = defaultValue;
        reportValue(context);
        endEdit();
        return;
    }
    // Grabbing the handle keeps the grab point under the pointer; a click
    // beside it brings the handle's centre to the pointer.
    const CRect grabbed = handleRect();
    const int grabOffset =
        grabbed.pointInside({grabbed.left, where.y}) ? where.y - grabbed.top : grabbed.height() / 2;
    beginEdit();
    changeTo(context, valueForHandleTop(where.y - grabOffset - handleOffset.y));
    while ((context->getMouseButtons() & kLButton) != 0) {
        const CPoint now = context->getMouseLocation();
        changeTo(context, valueForHandleTop(now.y - grabOffset - handleOffset.y));
        if (frame != nullptr) {
            frame->doIdleStuff();
        }
    }
    endEdit();
}

bool CVerticalSlider::onWheel(CDrawContext* context, CPoint /*where*/, float distance) {
    if (!std::isfinite(distance) || distance == 0.0f) {
        return false;
    }
    float next = value + distance * wheelIncrement;
    next = next < minValue ? minValue : (next > maxValue ? maxValue : next);
    beginEdit();
    changeTo(context, next);
    endEdit();
    return true;
}
