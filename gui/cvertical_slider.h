// CVerticalSlider: a handle bitmap moving over a background bitmap. The
// handle's top edge is at the first handle position for value 1 and at the
// second for value 0. The handle is drawn with pure white as transparent.
#pragma once

#include "gui/cview.h"

class CVerticalSlider : public CControl {
public:
    // handleTopAtMax / handleTopAtMin: frame y of the handle's top edge at
    // value 1 and at value 0. backgroundOffset: where in background the
    // slider's top-left pixel is taken from. Keeps references to both bitmaps.
    CVerticalSlider(const CRect& size, CControlListener* listener, long tag, int handleTopAtMax,
                    int handleTopAtMin, CBitmap* handle, CBitmap* background,
                    CPoint backgroundOffset = {});
    ~CVerticalSlider() override;

    // Where the handle sits relative to the slider's left edge (x) and the
    // computed position (y).
    void setOffsetHandle(CPoint offset);
    CPoint getOffsetHandle() const { return handleOffset; }
    // Exchanges the handle bitmap (keeps a reference to the new one).
    void setHandle(CBitmap* bitmap);
    CBitmap* getHandle() const { return handle; }

    // How far one wheel notch moves the value.
    void setWheelIncrement(float increment) { wheelIncrement = increment; }

    // The handle's rectangle in frame coordinates for the current value.
    CRect handleRect() const;

    void draw(CDrawContext* context) override;
    // A left click: with Control, sets the default value and reports it;
    // otherwise tracks the pointer while the button is held, reporting each
    // new value and running the owner's idle pass every turn.
    void mouse(CDrawContext* context, CPoint where, long buttons) override;
    bool onWheel(CDrawContext* context, CPoint where, float distance) override;

private:
    // The value that puts the handle's top edge at handleTop (clamped 0..1).
    float valueForHandleTop(int handleTop) const;
    // Sets and reports a new value; nothing when it is the same.
    void changeTo(CDrawContext* context, float newValue);

    int topAtMax;
    int topAtMin;
    CBitmap* handle;
    CPoint backgroundOffset;
    CPoint handleOffset;
    float wheelIncrement = 0.1f;
};
