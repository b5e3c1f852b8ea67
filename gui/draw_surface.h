// DrawSurface: the drawing primitives a backend provides to CDrawContext.
// Every backend implements it over its own drawing system (cairo on Linux and
// offscreen, GDI on Windows); the controls never see which one.
#pragma once

#include "gui/gui_types.h"

class CBitmap;

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // Fills rect with colour (alpha 255 is opaque).
    virtual void fillRect(const CRect& rect, CColor colour) = 0;

    // Copies the bitmap's pixels starting at sourceOffset (bitmap coordinates)
    // to dest, clipped to the bitmap's size. With whiteIsTransparent, pure white
    // (255, 255, 255) pixels are skipped. A 0x0 bitmap draws nothing.
    virtual void drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                            bool whiteIsTransparent) = 0;

    // Draws one line of text inside rect, clipped to it, vertically centred,
    // horizontally aligned as asked, in the font's family and pixel height.
    virtual void drawText(const char* text, const CRect& rect, const CFontDesc& font, CColor colour,
                          CHoriTxtAlign align) = 0;
};
