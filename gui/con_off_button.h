// COnOffButton: a switch drawn from a bitmap of two images stacked, the upper
// for value 0, the lower for any other value. A left click toggles it.
#pragma once

#include "gui/cview.h"

class COnOffButton : public CControl {
public:
    // Update style 0: after a click the switch runs the owner's idle pass
    // first, then reports the change inside a gesture.
    enum Style { kPreListenerUpdate = 0, kPostListenerUpdate = 1 };

    COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* images,
                 Style style = kPreListenerUpdate);

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint where, long buttons) override;

private:
    Style style;
};
