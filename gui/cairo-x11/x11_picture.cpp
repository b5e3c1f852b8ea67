#include "gui/cairo-x11/x11_picture.h"

#include <algorithm>
#include <bit>

namespace x11 {

bool findRgbVisual(Display* display, int screen, XVisualInfo& visual) {
    if (XMatchVisualInfo(display, screen, 24, TrueColor, &visual) == 0) {
        return false;
    }
    return visual.red_mask == 0xFF0000u && visual.green_mask == 0x00FF00u &&
           visual.blue_mask == 0x0000FFu;
}

std::unique_ptr<X11Picture> X11Picture::create(Display* display, const XVisualInfo& visual,
                                               int width, int height) {
    std::unique_ptr<X11Picture> picture(new X11Picture);
    picture->display = display;
    picture->pictureWidth = std::max(width, 1);
    picture->pictureHeight = std::max(height, 1);
    picture->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture->pictureWidth,
                                                  picture->pictureHeight);
    if (cairo_surface_status(picture->surface) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    picture->cr = cairo_create(picture->surface);
    cairo_set_source_rgb(picture->cr, 0, 0, 0);
    cairo_paint(picture->cr);
    cairo_surface_flush(picture->surface);

    auto* data = reinterpret_cast<char*>(cairo_image_surface_get_data(picture->surface));
    picture->image = XCreateImage(display, visual.visual, 24, ZPixmap, 0, data,
                                  static_cast<unsigned>(picture->pictureWidth),
                                  static_cast<unsigned>(picture->pictureHeight), 32,
                                  cairo_image_surface_get_stride(picture->surface));
    if (picture->image == nullptr) {
        return nullptr;
    }
    // cairo's words are in this machine's byte order; Xlib converts if the
    // server wants the other one.
    picture->image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return picture;
}

X11Picture::~X11Picture() {
    if (image != nullptr) {
        image->data = nullptr; // cairo's memory: XDestroyImage must not free it
        XDestroyImage(image);
    }
    if (cr != nullptr) {
        cairo_destroy(cr);
    }
    cairo_surface_destroy(surface);
}

void X11Picture::present(Drawable drawable, GC gc, const CRect& area) {
    const CRect clipped = area.intersected({0, 0, pictureWidth, pictureHeight});
    if (clipped.isEmpty()) {
        return;
    }
    cairo_surface_flush(surface);
    XPutImage(display, drawable, gc, image, clipped.left, clipped.top, clipped.left, clipped.top,
              static_cast<unsigned>(clipped.width()), static_cast<unsigned>(clipped.height()));
}

} // namespace x11
