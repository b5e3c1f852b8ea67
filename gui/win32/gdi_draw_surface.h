// GdiDrawSurface: the drawing primitives over a GDI memory device context
// that holds a 32-bit top-down DIB section, the back buffer of a Win32 frame
// window. Bitmaps go through GDI (BitBlt, TransparentBlt with white as the
// key colour), text through DrawTextA in an Arial font made by CreateFontA.
#pragma once

#include "gui/draw_surface.h"
#include "gui/win32/dib_section.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <windows.h>

class GdiDrawSurface final : public DrawSurface {
public:
    GdiDrawSurface(int width, int height);
    ~GdiDrawSurface() override;

    GdiDrawSurface(const GdiDrawSurface&) = delete;
    GdiDrawSurface& operator=(const GdiDrawSurface&) = delete;

    void fillRect(const CRect& rect, CColor colour) override;
    void drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                    bool whiteIsTransparent) override;
    void drawText(const char* text, const CRect& rect, const CFontDesc& font, CColor colour,
                  CHoriTxtAlign align) override;

    // False when the back buffer could not be made; drawing then does nothing.
    bool isValid() const { return backBuffer.isValid(); }
    HDC deviceContext() const { return backBuffer.dc(); }
    int width() const { return backBuffer.width(); }
    int height() const { return backBuffer.height(); }
    // The pixel at (x, y) as 0x00RRGGBB; 0 outside the buffer.
    std::uint32_t pixelAt(int x, int y);

private:
    HFONT fontFor(const CFontDesc& font);
    void blendRect(const CRect& rect, CColor colour);

    DibSection backBuffer;
    std::map<std::tuple<std::string, int, bool>, HFONT> fonts;
};
