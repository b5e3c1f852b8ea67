// X11WindowBackend: a frame's window on Linux, a child window of the host's X11
// window, on the plug-in's own shared connection (x11_connection.h). The frame
// draws into an X11Picture; endDraw and expose events copy the changed part to
// the window. The host's idle (through the frame's idle pass) takes the
// window's pending events: expose, button presses (the wheel is buttons 4 and
// 5) and keys. The tracking loops read the live pointer with XQueryPointer.
//
// Hosts that read the window's _XEventProc property call the function stored
// there with the events they receive for the window instead; both ways work,
// and an input event that arrives both ways is handled once.
#pragma once

#include "gui/cairo-x11/x11_picture.h"
#include "gui/window_backend.h"

#include <X11/Xlib.h>
#include <array>
#include <memory>

class X11WindowBackend final : public WindowBackend {
public:
    // Answers null when there is no X server, the parent does not exist or the
    // window cannot be made; everything acquired on the way is given back.
    static std::unique_ptr<X11WindowBackend> create(Window parent, const CRect& size,
                                                    FrameEventSink& sink);
    ~X11WindowBackend() override;

    DrawSurface& beginDraw() override;
    void endDraw(const CRect& changed) override;
    PointerState readPointer() override;
    int choose(const std::vector<std::string>& entries, int current, const CRect& anchor) override;
    CPoint screenOrigin() override;
    bool resize(int width, int height) override;
    void pollEvents() override;

    Window window() const { return xWindow; }
    // Handles one event of this window (from our queue or from the host).
    // While an input event is being handled, only Expose is; others are
    // dropped. This object may be gone when it returns (the editor closed).
    void handleEvent(const XEvent& event);
    // False once the window is gone (the host destroyed its parent).
    bool alive() const { return !lost; }

    X11WindowBackend(const X11WindowBackend&) = delete;
    X11WindowBackend& operator=(const X11WindowBackend&) = delete;

private:
    X11WindowBackend(Display* display, FrameEventSink& sink);
    bool makeWindow(Window parent, const CRect& size);
    bool makePicture(int width, int height);
    // Notes a failure of a request on this window: the window is gone.
    void noteFailure(bool failed);
    // Input events seen lately (type, time, detail), to handle a press that
    // reaches us both through the queue and through the host only once.
    bool seenBefore(const XEvent& event);
    void passKeyToHost(const XEvent& event);

    Display* display;
    FrameEventSink& sink;
    XVisualInfo visual{};
    Colormap colormap = 0;
    Window xWindow = 0;
    Window xParent = 0;
    GC gc = nullptr;
    std::unique_ptr<x11::X11Picture> picture;
    std::unique_ptr<DrawSurface> surface;
    CPoint lastPointer;
    bool lost = false;
    int handling = 0; // > 0 while an input event is being handled
    struct SeenInput {
        int type = 0;
        Time time = 0;
        unsigned detail = 0;
    };
    std::array<SeenInput, 8> seen{};
    std::size_t nextSeen = 0;
    // Shared with pollEvents and handleEvent, which must stop touching this
    // object if a handled event ends up closing the editor.
    std::shared_ptr<bool> destroyed = std::make_shared<bool>(false);
};

// The function stored in the _XEventProc property of every editor window.
extern "C" void tarvokinX11EventProc(XEvent* event);
