// CFrame: the window content. It owns its views and its window backend, draws
// the background and the views, redraws changed views on idle, routes mouse,
// wheel and key events to the views and edit gestures to its owner (the editor).
#pragma once

#include "gui/frame_owner.h"
#include "gui/gui_types.h"
#include "gui/window_backend.h"

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
    void beginEdit(long tag);
    void endEdit(long tag);
    void doIdleStuff();

    CFrame(const CFrame&) = delete;
    CFrame& operator=(const CFrame&) = delete;

private:
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
};
