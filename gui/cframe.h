// CFrame: the window content. It owns its views and its window backend, draws
// the background and the views, redraws changed views on idle, routes mouse,
// wheel and key events to the views and edit gestures to its owner (the editor).
//
// A control's tracking loop (or pop-up list) runs inside the event that
// started it and calls the owner's idle pass, which reaches the host; the host
// may close the editor right there. So the owner never deletes a frame itself:
// it calls forget(), and a frame that is delivering an event is only detached
// then and deletes itself when the outermost event returns.
#pragma once

#include "gui/frame_owner.h"
#include "gui/gui_types.h"
#include "gui/window_backend.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class CBitmap;
class CView;

class CFrame : public FrameEventSink {
public:
    // Opens the frame's window in systemWindow (see createWindowBackend: a
    // null parent gives an offscreen frame). owner may be null.
    CFrame(const CRect& size, void* systemWindow, CFrameOwner* owner);
    ~CFrame() override;

    // The owner is done with this frame (made with new): it is deleted at
    // once, or, while it is delivering an event, detached: the gestures its
    // controls began are ended with the owner, the owner is forgotten, the
    // controls report nothing more and read no pressed button (so tracking
    // loops end), no further event is delivered, and the frame deletes itself
    // when the outermost event returns.
    void forget();
    bool isDetached() const { return detached; }

    const CRect& getViewSize() const { return size; }
    void* getSystemWindow() const { return systemWindow; }
    CFrameOwner* getEditor() const { return owner; }
    WindowBackend* getBackend() const { return window.get(); }

    // The picture behind every view; the frame keeps a reference to it.
    void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }

    // Adds a view on top of the others; the frame owns it from then on and
    // deletes it with itself (at once when it cannot be stored). A null view
    // is refused.
    bool addView(CView* view);
    int getNbViews() const { return static_cast<int>(views.size()); }
    CView* getView(int index) const;
    // The topmost view containing where, or null.
    CView* getViewAt(CPoint where) const;

    // The idle pass: takes the backend's pending events, then redraws every
    // view whose value or appearance changed since it was last drawn (the
    // whole frame on the first pass or after invalidateAll).
    void idle();
    // Makes the next idle pass redraw everything.
    void invalidateAll() { fullRedrawPending = true; }

    // FrameEventSink: events from the window.
    void onMouseDown(CPoint where, long buttons) override;
    bool onWheel(CPoint where, float distance) override;
    int onKeyDown(CKeyCode& key) override;
    int onKeyUp(CKeyCode& key) override;
    void onPaint(const CRect& area) override;

    // Asks the host (through the editor) to resize the window; on success the
    // frame and its window take the new size. False when the host cannot.
    bool setSize(int width, int height);

    // Gestures and idle on behalf of the views; nothing without an owner.
    // The frame remembers which gestures are open, so that forget() can end
    // them.
    void beginEdit(long tag);
    void endEdit(long tag);
    void doIdleStuff();

    CFrame(const CFrame&) = delete;
    CFrame& operator=(const CFrame&) = delete;

private:
    // Counts an event (or idle pass) being delivered while it lives; the
    // outermost one deletes a frame that was detached meanwhile.
    class Delivery {
    public:
        explicit Delivery(CFrame& frame);
        ~Delivery();
        Delivery(const Delivery&) = delete;
        Delivery& operator=(const Delivery&) = delete;

    private:
        CFrame& frame;
    };

    // Draws the background under area and every view meeting area.
    void drawArea(const CRect& area);

    CRect size;
    void* systemWindow;
    CFrameOwner* owner;
    CBitmap* background = nullptr;
    std::vector<std::unique_ptr<CView>> views;
    std::unique_ptr<WindowBackend> window;
    bool fullRedrawPending = true;
    bool polling = false;
    int delivering = 0;
    bool detached = false;
    // Tags of the gestures begun and not yet ended, oldest first; a gesture
    // beyond the last slot is not tracked (controls nest one or two at most).
    std::array<long, 8> openGestures{};
    std::size_t openGestureCount = 0;
};
