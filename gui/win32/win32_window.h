// Win32WindowBackend: a frame's window on Windows, a child window of the
// host's HWND. It draws through a GDI back buffer (GdiDrawSurface) that
// WM_PAINT and endDraw copy to the screen, delivers mouse-down and wheel
// messages to the frame, reads the live pointer for the tracking loops and
// shows option lists with TrackPopupMenu.
#pragma once

#include "gui/win32/gdi_draw_surface.h"
#include "gui/window_backend.h"

#include <windows.h>

class Win32WindowBackend final : public WindowBackend {
public:
    // Answers null when the window class or the window cannot be made.
    static std::unique_ptr<Win32WindowBackend> create(HWND parent, const CRect& size,
                                                      FrameEventSink& sink);
    ~Win32WindowBackend() override;

    Win32WindowBackend(const Win32WindowBackend&) = delete;
    Win32WindowBackend& operator=(const Win32WindowBackend&) = delete;

    DrawSurface& beginDraw() override;
    void endDraw(const CRect& changed) override;
    PointerState readPointer() override;
    int choose(const std::vector<std::string>& entries, int current, const CRect& anchor) override;
    CPoint screenOrigin() override;
    bool resize(int width, int height) override;

    HWND hwnd() const { return window; }

private:
    Win32WindowBackend(FrameEventSink& sink, int width, int height);
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    long buttonsAndModifiers() const;
    static long buttonsAtMessage(WPARAM keyState);

    FrameEventSink& sink;
    std::unique_ptr<GdiDrawSurface> surface;
    HWND window = nullptr;
    bool painting = false; // inside WM_PAINT: the paint handler shows the buffer
};
