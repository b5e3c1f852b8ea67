#include "gui/cairo_surface.h"

#include "gui/cbitmap.h"

#include <cstring>

namespace {

// A bitmap as two cairo surfaces: opaque, and with pure white see-through.
class CairoImage : public NativeImage {
public:
    explicit CairoImage(const CBitmap& bitmap)
        : opaque(makeSurface(bitmap, false)), keyed(makeSurface(bitmap, true)) {}
    ~CairoImage() override {
        cairo_surface_destroy(opaque);
        cairo_surface_destroy(keyed);
    }
    CairoImage(const CairoImage&) = delete;
    CairoImage& operator=(const CairoImage&) = delete;

    cairo_surface_t* opaque;
    cairo_surface_t* keyed;

private:
    static cairo_surface_t* makeSurface(const CBitmap& bitmap, bool whiteIsTransparent) {
        const int width = bitmap.getWidth();
        const int height = bitmap.getHeight();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            return surface;
        }
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const auto& rgb = bitmap.getPixels();
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
            for (int x = 0; x < width; ++x) {
                const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
                const std::uint32_t r = rgb[i];
                const std::uint32_t g = rgb[i + 1];
                const std::uint32_t b = rgb[i + 2];
                const bool clear = whiteIsTransparent && r == 255 && g == 255 && b == 255;
                // Premultiplied ARGB: a see-through pixel is all zero.
                row[x] = clear ? 0u : (0xFFu << 24) | (r << 16) | (g << 8) | b;
            }
        }
        cairo_surface_mark_dirty(surface);
        return surface;
    }
};

const CairoImage& imageOf(const CBitmap& bitmap) {
    auto* image = dynamic_cast<CairoImage*>(bitmap.getNativeImage());
    if (image == nullptr) {
        auto made = std::make_unique<CairoImage>(bitmap);
        image = made.get();
        bitmap.setNativeImage(std::move(made));
    }
    return *image;
}

void setColour(cairo_t* cr, CColor colour) {
    cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                          colour.alpha / 255.0);
}

} // namespace

const char* cairoFamilyFor(const char* family) {
    if (family == nullptr || std::strcmp(family, "Arial") == 0) {
        return "Liberation Sans";
    }
    return family;
}

void CairoSurface::fillRect(const CRect& rect, CColor colour) {
    if (rect.isEmpty()) {
        return;
    }
    cairo_save(cr);
    setColour(cr, colour);
    cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void CairoSurface::drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                              bool whiteIsTransparent) {
    if (bitmap.getWidth() <= 0 || bitmap.getHeight() <= 0 || dest.isEmpty()) {
        return;
    }
    // Only the part of dest that the bitmap covers from sourceOffset on.
    const CRect source{0, 0, bitmap.getWidth(), bitmap.getHeight()};
    const CRect covered =
        source.offset(dest.left - sourceOffset.x, dest.top - sourceOffset.y).intersected(dest);
    if (covered.isEmpty()) {
        return;
    }
    const CairoImage& image = imageOf(bitmap);
    cairo_save(cr);
    cairo_set_source_surface(cr, whiteIsTransparent ? image.keyed : image.opaque,
                             dest.left - sourceOffset.x, dest.top - sourceOffset.y);
    cairo_rectangle(cr, covered.left, covered.top, covered.width(), covered.height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void CairoSurface::drawText(const char* text, const CRect& rect, const CFontDesc& font,
                            CColor colour, CHoriTxtAlign align) {
    if (text == nullptr || text[0] == '\0' || rect.isEmpty()) {
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
    cairo_clip(cr);
    cairo_select_font_face(cr, cairoFamilyFor(font.family), CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.height);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);

    cairo_font_extents_t fontExtents;
    cairo_font_extents(cr, &fontExtents);
    cairo_text_extents_t textExtents;
    cairo_text_extents(cr, text, &textExtents);

    double x = rect.left;
    if (align == kCenterText) {
        x = rect.left + (rect.width() - textExtents.x_advance) / 2.0;
    } else if (align == kRightText) {
        x = rect.right - textExtents.x_advance;
    }
    // The line's cell (ascent + descent) centred in the rectangle, on whole pixels.
    const double cell = fontExtents.ascent + fontExtents.descent;
    const double baseline = rect.top + (rect.height() - cell) / 2.0 + fontExtents.ascent;
    cairo_move_to(cr, static_cast<int>(x + 0.5), static_cast<int>(baseline + 0.5));
    setColour(cr, colour);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}
