#include "gui/con_off_button.h"

#include "gui/cdraw_context.h"
#include "gui/cframe.h"

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* images,
                           Style style)
    : CControl(size, listener, tag, images), style(style) {}

void COnOffButton::draw(CDrawContext* context) {
    const int imageTop = value == 0.0f ? 0 : size.height();
    context->drawBitmap(background, size, {0, imageTop});
}

void COnOffButton::mouse(CDrawContext* context, CPoint /*where*/, long buttons) {
    if ((buttons & kLButton) == 0 || modifierClickHandled(context, buttons)) {
        return;
    }
    // Any value whose integer part is not 0 counts as on.
    value = static_cast<long>(value) != 0 ? 0.0f : 1.0f;
    setDirty(true);
    if (style == kPreListenerUpdate && frame != nullptr) {
        frame->doIdleStuff();
    }
    beginEdit();
    reportValue(context);
    endEdit();
    if (style == kPostListenerUpdate && frame != nullptr) {
        frame->doIdleStuff();
    }
}
