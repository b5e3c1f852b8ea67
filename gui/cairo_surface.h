// CairoSurface: DrawSurface over a cairo context, shared by the offscreen
// backend and the X11 backend. Bitmaps become cairo image surfaces on first
// use and stay cached with the bitmap.
#pragma once

#include "gui/draw_surface.h"

#include <cairo.h>

class CairoSurface : public DrawSurface {
public:
    // Draws through cr, which the caller owns and keeps alive.
    explicit CairoSurface(cairo_t* cr) : cr(cr) {}

    void fillRect(const CRect& rect, CColor colour) override;
    void drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                    bool whiteIsTransparent) override;
    void drawText(const char* text, const CRect& rect, const CFontDesc& font, CColor colour,
                  CHoriTxtAlign align) override;

private:
    cairo_t* cr;
};

// The cairo font family standing in for a font family name ("Arial" is drawn
// with "Liberation Sans", which has the same metrics).
const char* cairoFamilyFor(const char* family);
