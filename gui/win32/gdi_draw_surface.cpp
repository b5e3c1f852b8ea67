#include "gui/win32/gdi_draw_surface.h"

#include "gui/cbitmap.h"

#include <algorithm>
#include <memory>

namespace {

COLORREF colorRef(CColor colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

RECT toRect(const CRect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// The GDI copy of a CBitmap, made on its first draw and kept with it.
class GdiImage final : public NativeImage {
public:
    explicit GdiImage(const CBitmap& source) : dib(source.getWidth(), source.getHeight()) {
        std::uint32_t* bits = dib.pixels();
        if (bits == nullptr) {
            return;
        }
        const auto& rgb = source.getPixels();
        const std::size_t count = static_cast<std::size_t>(source.getWidth()) *
                                  static_cast<std::size_t>(source.getHeight());
        for (std::size_t i = 0; i < count && 3 * i + 2 < rgb.size(); ++i) {
            bits[i] = (std::uint32_t{rgb[3 * i]} << 16) | (std::uint32_t{rgb[3 * i + 1]} << 8) |
                      std::uint32_t{rgb[3 * i + 2]};
        }
        GdiFlush();
    }
    HDC dc() const { return dib.dc(); }

private:
    DibSection dib;
};

const GdiImage* gdiImageOf(const CBitmap& bitmap) {
    auto* image = dynamic_cast<GdiImage*>(bitmap.getNativeImage());
    if (image == nullptr) {
        auto made = std::make_unique<GdiImage>(bitmap);
        image = made.get();
        bitmap.setNativeImage(std::move(made));
    }
    return image;
}

} // namespace

GdiDrawSurface::GdiDrawSurface(int width, int height) : backBuffer(width, height) {
    if (isValid()) {
        SetBkMode(backBuffer.dc(), TRANSPARENT);
    }
}

GdiDrawSurface::~GdiDrawSurface() {
    for (auto& entry : fonts) {
        DeleteObject(entry.second);
    }
}

void GdiDrawSurface::fillRect(const CRect& rect, CColor colour) {
    const CRect area = rect.intersected(CRect{0, 0, width(), height()});
    if (!isValid() || area.isEmpty() || colour.alpha == 0) {
        return;
    }
    if (colour.alpha != 255) {
        blendRect(area, colour);
        return;
    }
    HBRUSH brush = CreateSolidBrush(colorRef(colour));
    const RECT target = toRect(area);
    FillRect(backBuffer.dc(), &target, brush);
    DeleteObject(brush);
}

// GDI has no translucent fill; the DIB's pixels are blended in place.
void GdiDrawSurface::blendRect(const CRect& area, CColor colour) {
    GdiFlush();
    const unsigned alpha = colour.alpha;
    const unsigned keep = 255 - alpha;
    auto mix = [&](std::uint32_t under, unsigned over) {
        return (under * keep + over * alpha + 127) / 255;
    };
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = backBuffer.pixels() + static_cast<std::size_t>(y) * width();
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = row[x];
            row[x] = (mix((p >> 16) & 0xff, colour.red) << 16) |
                     (mix((p >> 8) & 0xff, colour.green) << 8) | mix(p & 0xff, colour.blue);
        }
    }
}

void GdiDrawSurface::drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                                bool whiteIsTransparent) {
    if (!isValid() || bitmap.getWidth() <= 0 || bitmap.getHeight() <= 0) {
        return;
    }
    // Clip to the bitmap: the part of dest that the source covers.
    const int sourceLeft = std::max(sourceOffset.x, 0);
    const int sourceTop = std::max(sourceOffset.y, 0);
    const int left = dest.left + (sourceLeft - sourceOffset.x);
    const int top = dest.top + (sourceTop - sourceOffset.y);
    const int width = std::min(dest.right - left, bitmap.getWidth() - sourceLeft);
    const int height = std::min(dest.bottom - top, bitmap.getHeight() - sourceTop);
    if (width <= 0 || height <= 0) {
        return;
    }
    const GdiImage* image = gdiImageOf(bitmap);
    if (image->dc() == nullptr) {
        return;
    }
    if (whiteIsTransparent) {
        TransparentBlt(backBuffer.dc(), left, top, width, height, image->dc(), sourceLeft,
                       sourceTop, width, height, RGB(255, 255, 255));
    } else {
        BitBlt(backBuffer.dc(), left, top, width, height, image->dc(), sourceLeft, sourceTop,
               SRCCOPY);
    }
}

HFONT GdiDrawSurface::fontFor(const CFontDesc& font) {
    const std::string family = font.family != nullptr ? font.family : "Arial";
    const auto key = std::make_tuple(family, font.height, font.bold);
    auto found = fonts.find(key);
    if (found != fonts.end()) {
        return found->second;
    }
    // A negative height asks for the character height, not the cell height.
    HFONT made = CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                             FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, family.c_str());
    fonts.emplace(key, made);
    return made;
}

void GdiDrawSurface::drawText(const char* text, const CRect& rect, const CFontDesc& font,
                              CColor colour, CHoriTxtAlign align) {
    if (!isValid() || text == nullptr || rect.isEmpty()) {
        return;
    }
    HFONT handle = fontFor(font);
    HGDIOBJ previousFont = handle != nullptr ? SelectObject(backBuffer.dc(), handle) : nullptr;
    SetTextColor(backBuffer.dc(), colorRef(colour));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    format |= align == kLeftText ? DT_LEFT : align == kRightText ? DT_RIGHT : DT_CENTER;
    RECT target = toRect(rect);
    DrawTextA(backBuffer.dc(), text, -1, &target, format); // clips to target
    if (previousFont != nullptr) {
        SelectObject(backBuffer.dc(), previousFont);
    }
}

std::uint32_t GdiDrawSurface::pixelAt(int x, int y) {
    if (!isValid() || x < 0 || y < 0 || x >= width() || y >= height()) {
        return 0;
    }
    GdiFlush();
    return backBuffer.pixels()[static_cast<std::size_t>(y) * width() + x] & 0xffffffu;
}
