// X11Picture: what a window of ours shows. The frame draws with cairo into an
// image surface that persists between passes; presenting copies only the
// changed part to the window with XPutImage, straight from the surface's
// memory (a 24-bit TrueColor visual stores pixels exactly as cairo's RGB24
// does), so nothing flickers and nothing is drawn twice.
#pragma once

#include "gui/gui_types.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>
#include <memory>

namespace x11 {

// The visual all our windows use: 24-bit TrueColor with 8-bit red, green and
// blue at bits 16, 8 and 0. False when the screen has none.
bool findRgbVisual(Display* display, int screen, XVisualInfo& visual);

class X11Picture {
public:
    // Null when the image cannot be made.
    static std::unique_ptr<X11Picture> create(Display* display, const XVisualInfo& visual,
                                              int width, int height);
    ~X11Picture();

    cairo_t* context() const { return cr; }
    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }

    // Copies area (clipped to the picture) to the same place of drawable.
    // Call inside an X11ErrorTrap: the drawable may be gone.
    void present(Drawable drawable, GC gc, const CRect& area);

    X11Picture(const X11Picture&) = delete;
    X11Picture& operator=(const X11Picture&) = delete;

private:
    X11Picture() = default;

    Display* display = nullptr;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    XImage* image = nullptr;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

} // namespace x11
