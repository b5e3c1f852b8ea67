#include "resources/art/mockup.h"

#include "resources/art/panel_geometry.h"

#include <cstdint>

using panel::Rect;

namespace {

void paintAt(cairo_t* cr, cairo_surface_t* source, double x, double y) {
    cairo_set_source_surface(cr, source, x, y);
    cairo_paint(cr);
}

// Paints one image of a vertical strip of equal images into the rectangle.
void paintImage(cairo_t* cr, cairo_surface_t* strip, const Rect& r, int image) {
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_clip(cr);
    paintAt(cr, strip, r.left, r.top - image * r.height());
    cairo_restore(cr);
}

// The knob with its pure white pixels made transparent, as the slider draws it.
Surface keyOutWhite(cairo_surface_t* source) {
    const int w = cairo_image_surface_get_width(source);
    const int h = cairo_image_surface_get_height(source);
    Surface keyed(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    cairo_surface_flush(source);
    const int inStride = cairo_image_surface_get_stride(source);
    const int outStride = cairo_image_surface_get_stride(keyed.get());
    const unsigned char* in = cairo_image_surface_get_data(source);
    unsigned char* out = cairo_image_surface_get_data(keyed.get());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t pixel =
                reinterpret_cast<const std::uint32_t*>(in + y * inStride)[x] & 0xffffffu;
            reinterpret_cast<std::uint32_t*>(out + y * outStride)[x] =
                pixel == 0xffffffu ? 0u : (pixel | 0xff000000u);
        }
    }
    cairo_surface_mark_dirty(keyed.get());
    return keyed;
}

void drawBoxText(cairo_t* cr, const PanelFonts& fonts, const Rect& r, double size,
                 const char* text) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    drawText(cr, fonts.regular(), size, text, (r.left + r.right) / 2.0, r.bottom - 2,
             Align::Centre);
}

} // namespace

Surface drawMockup(const PanelPictures& pictures, const PanelFonts& fonts) {
    using namespace panel;
    Surface surface = makeSurface(kWidth, kHeight);
    cairo_t* cr = cairo_create(surface.get());
    paintAt(cr, pictures.panel.get(), 0, 0);

    const double steps[kSteps] = {1,    0.2, 0.75, 0.4, 1,   0,   0.6, 0.3,
                                  0.85, 0.1, 0.5,  1,   0.3, 0.7, 0,   0.45};
    const int stepCount = 8;
    for (int i = 0; i < kSteps; ++i) {
        const Rect r = stepSlider(i);
        paintAt(cr, pictures.gridColumn.get(), r.left, r.top);
        const double top =
            kStepHandleTopAtZero - steps[i] * (kStepHandleTopAtZero - kStepHandleTopAtOne);
        cairo_surface_t* handle =
            i < stepCount ? pictures.activeHandle.get() : pictures.inactiveHandle.get();
        paintAt(cr, handle, r.left + kStepHandleOffsetX, static_cast<int>(top));
    }
    for (int k = 0; k < kSteps; ++k)
        paintImage(cr, pictures.legatoSwitch.get(), legatoSwitch(k), k == 2 || k == 9 ? 1 : 0);

    const double levels[kLargeSliders] = {1.0, 0.6, 0.8};
    const char* const texts[kLargeSliders] = {"100", "60", "80"};
    Surface knob = keyOutWhite(pictures.knob.get());
    for (int j = 0; j < kLargeSliders; ++j) {
        const Rect r = largeSlider(j);
        // Each slider's background is the panel at the first slider's corner.
        cairo_save(cr);
        cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
        cairo_clip(cr);
        paintAt(cr, pictures.panel.get(), r.left - largeSlider(0).left, r.top - largeSlider(0).top);
        cairo_restore(cr);
        const double top = kKnobTopAtZero - levels[j] * (kKnobTopAtZero - kKnobTopAtOne);
        paintAt(cr, knob.get(), r.left, static_cast<int>(top));
        drawBoxText(cr, fonts, valueBox(j), 11, texts[j]);
    }
    drawBoxText(cr, fonts, kStepMenu, 10, "8");
    drawBoxText(cr, fonts, kNoteMenu, 10, "1/16");
    paintImage(cr, pictures.declickSwitch.get(), kDeclickSwitch, 1);
    cairo_destroy(cr);
    return surface;
}

bool writeEnlargedPng(cairo_surface_t* surface, int factor, const char* path) {
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    Surface big = makeSurface(w * factor, h * factor);
    cairo_t* cr = cairo_create(big.get());
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    return cairo_surface_write_to_png(big.get(), path) == CAIRO_STATUS_SUCCESS;
}
