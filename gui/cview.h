// CView and CControl: the rectangle, frame link and dirty flag of every view;
// for controls also tag, value, last drawn value, default value and listener.
#pragma once

#include "gui/gui_types.h"

class CBitmap;
class CControl;
class CDrawContext;
class CFrame;

// Receives the changes a user makes on a control.
class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // A click with modifier keys; an answer other than 0 means the listener
    // handled it and the control does nothing more.
    virtual long controlModifierClicked(CDrawContext* /*context*/, CControl* /*control*/,
                                        long /*buttons*/) {
        return 0;
    }
};

class CView {
public:
    explicit CView(const CRect& size) : size(size) {}
    virtual ~CView() = default;

    const CRect& getViewSize() const { return size; }
    CFrame* getFrame() const { return frame; }
    void setFrame(CFrame* owner) { frame = owner; }

    // Draws the view inside its rectangle.
    virtual void draw(CDrawContext* context) = 0;
    // Draws and records that the view now shows its state.
    void redraw(CDrawContext* context);

    // Whether the view needs drawing: its appearance or value changed since
    // it was last drawn.
    virtual bool isDirty() const { return dirty; }
    virtual void setDirty(bool state = true) { dirty = state; }

    // A mouse button went down inside the view.
    virtual void mouse(CDrawContext* /*context*/, CPoint /*where*/, long /*buttons*/) {}
    // A wheel movement over the view; true when the view used it.
    virtual bool onWheel(CDrawContext* /*context*/, CPoint /*where*/, float /*distance*/) {
        return false;
    }
    // Keys: 1 when the view used the key, else -1.
    virtual int onKeyDown(CKeyCode& /*key*/) { return -1; }
    virtual int onKeyUp(CKeyCode& /*key*/) { return -1; }

    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

protected:
    // Called after every draw: the view's state is now on the screen.
    virtual void wasDrawn() { dirty = false; }

    CRect size;
    CFrame* frame = nullptr;
    bool dirty = false;
};

class CControl : public CView {
public:
    // The control keeps a reference to background while it lives.
    CControl(const CRect& size, CControlListener* listener, long tag,
             CBitmap* background = nullptr);
    ~CControl() override;

    // A NaN is ignored; anything else is kept as given (bounceValue clamps).
    virtual void setValue(float newValue);
    float getValue() const { return value; }
    void setDefaultValue(float newValue) { defaultValue = newValue; }
    float getDefaultValue() const { return defaultValue; }
    void setMin(float newMin) { minValue = newMin; }
    void setMax(float newMax) { maxValue = newMax; }
    float getMin() const { return minValue; }
    float getMax() const { return maxValue; }
    // Clamps the value into min..max.
    void bounceValue();

    long getTag() const { return tag; }
    void setTag(long newTag) { tag = newTag; }
    CControlListener* getListener() const { return listener; }

    void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }

    bool isDirty() const override;

protected:
    void wasDrawn() override;
    // The start and end of a gesture, through the frame to its editor.
    void beginEdit();
    void endEdit();
    // Reports the value to the listener, if any, unless the frame is detached.
    void reportValue(CDrawContext* context);
    // True when a listener handled a click with modifier keys.
    bool modifierClickHandled(CDrawContext* context, long buttons);
    // Whether the listener is told of anything: there is one and the frame,
    // if any, is not detached.
    bool listening() const;

    CControlListener* listener;
    long tag;
    float value = 0.0f;
    float lastDrawnValue = 0.0f;
    bool drawnOnce = false;
    float defaultValue = 0.5f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    CBitmap* background;
};
