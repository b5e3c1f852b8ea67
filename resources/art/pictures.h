#pragma once

#include "resources/art/text.h"
#include "resources/bmp_image.h"

#include <cairo.h>
#include <memory>

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// An opaque image surface of the given size.
Surface makeSurface(int width, int height);

// The eight panel bitmaps, each drawn at its resource size.
struct PanelPictures {
    Surface knob;           // 101
    Surface declickSwitch;  // 102
    Surface panel;          // 103
    Surface gridColumn;     // 104
    Surface activeHandle;   // 105
    Surface legatoSwitch;   // 106
    Surface slot;           // 107
    Surface inactiveHandle; // 108
};

PanelPictures drawPanelPictures(const PanelFonts& fonts);

// The surface's pixels as an opaque RGB image.
BmpImage toBmpImage(cairo_surface_t* surface);
