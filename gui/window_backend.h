// The window backend interface: everything CFrame needs from a platform
// window. One backend exists per platform (gui/cairo-x11 for an X11 child
// window, gui/win32 for a Win32 child window) plus the offscreen backend
// (gui/offscreen_window.h) used for snapshots and tests. A new backend adds
// its files and implements WindowBackend and createPlatformWindowBackend; it
// changes nothing in the controls, the frame or the editor.
//
// Threading: every call below happens on the host's user-interface thread,
// and a backend delivers its events into the FrameEventSink on that thread.
#pragma once

#include "gui/gui_types.h"

#include <memory>
#include <string>
#include <vector>

class DrawSurface;

// The pointer as the mouse-tracking loops read it: the position in window
// (frame) coordinates and the pressed buttons and modifier keys (CButtonState).
struct PointerState {
    CPoint where;
    long buttons = 0;
};

// What the frame offers its backend: the events of the window. A backend
// calls these with window (frame) coordinates.
//
// The host may close the editor while an event runs (from its idle callback,
// which the tracking loops call); the frame then deletes itself, and with it
// the backend, when the outermost event it delivers returns. So a backend
// touches nothing of its own after onMouseDown, onWheel, onKeyDown or onKeyUp
// returns unless it knows it still exists; events delivered from pollEvents
// are safe, since the frame's idle pass that calls it counts as an event too.
class FrameEventSink {
public:
    virtual ~FrameEventSink() = default;

    // A button went down at where; buttons holds the button and modifier bits.
    // The frame runs the control's mouse handling, which may read the pointer
    // repeatedly (readPointer) until the button is released.
    virtual void onMouseDown(CPoint where, long buttons) = 0;
    // A wheel step at where: distance in notches, positive away from the user.
    virtual bool onWheel(CPoint where, float distance) = 0;
    // Key events; the answer is 1 when a view used the key, else -1.
    virtual int onKeyDown(CKeyCode& key) = 0;
    virtual int onKeyUp(CKeyCode& key) = 0;
    // The window's contents in area were lost (exposed): the frame redraws
    // that area at once through beginDraw/endDraw.
    virtual void onPaint(const CRect& area) = 0;
};

// One open child window (or offscreen image) of a frame.
class WindowBackend {
public:
    virtual ~WindowBackend() = default;

    // Starts drawing: the surface that the frame draws into. Drawing always
    // goes to a buffer the size of the frame that persists between passes;
    // nothing needs to reach the screen before endDraw.
    virtual DrawSurface& beginDraw() = 0;
    // Ends drawing: shows the changed area (frame coordinates) on the screen.
    virtual void endDraw(const CRect& changed) = 0;

    // Reads the pointer for a mouse-tracking loop. The loops call this once
    // per turn and stop when kLButton is no longer set, so a backend must
    // report the live state (query the server/OS), not a cached event.
    virtual PointerState readPointer() = 0;

    // Modal pop-up list of entries near anchor (frame coordinates), with
    // current marked. Answers the chosen index, or -1 when dismissed.
    virtual int choose(const std::vector<std::string>& entries, int current,
                       const CRect& anchor) = 0;

    // The screen position of the window's top-left corner, to turn a screen
    // cursor position into window coordinates. The offscreen backend says (0, 0).
    virtual CPoint screenOrigin() = 0;

    // Resizes the window to width x height pixels; false when it cannot.
    virtual bool resize(int width, int height) = 0;

    // Called at the start of every idle pass of the frame: a backend without
    // its own event thread takes its pending events here and delivers them to
    // the sink (the host calls idle on its UI thread about 10-50 times a second).
    // Never re-entered: while a delivered event runs (a tracking loop idles
    // the frame over and over), the frame does not poll again.
    virtual void pollEvents() {}
};

// Creates a frame's window: the offscreen backend when parent is null or
// offscreen windows are forced (setForceOffscreenWindows), else the platform
// backend, falling back to offscreen when the platform has none or it fails,
// so the editor always has a working frame. Never answers null.
std::unique_ptr<WindowBackend> createWindowBackend(void* parent, const CRect& size,
                                                   FrameEventSink& sink);

// The platform backend of this build: an X11 child window (parent is an X11
// Window id) or a Win32 child window (parent is an HWND) of size.width() x
// size.height(). Answers null when the window cannot be made. A build without a
// platform backend links gui/fallback/no_platform_window.cpp, which answers null.
std::unique_ptr<WindowBackend> createPlatformWindowBackend(void* parent, const CRect& size,
                                                           FrameEventSink& sink);

// The offscreen backend of this build (gui/offscreen_window.cpp: a cairo image
// surface; a build without cairo provides its own). Never answers null.
std::unique_ptr<WindowBackend> createOffscreenWindowBackend(const CRect& size,
                                                            FrameEventSink& sink);

// Makes every new frame offscreen whatever its parent (the tool and tests).
void setForceOffscreenWindows(bool force);
