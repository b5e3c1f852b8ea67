// The panel bitmaps on Windows: BITMAP resources of the library, loaded with
// LoadBitmapA and read back as 24-bit top-down rows for CBitmap.
#include "gui/cbitmap.h"
#include "gui/win32/module_instance.h"

#include <windows.h>

bool loadBitmapResource(int id, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    if (id <= 0 || id > 0xffff) {
        return false; // not a resource number
    }
    HBITMAP bitmap = LoadBitmapA(moduleInstance(), MAKEINTRESOURCEA(id));
    if (bitmap == nullptr) {
        return false;
    }
    BITMAP header{};
    bool loaded = false;
    if (GetObjectA(bitmap, sizeof header, &header) == sizeof header && header.bmWidth > 0 &&
        header.bmHeight > 0) {
        // The bitmap comes at display depth; GetDIBits converts it to 32-bit rows.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = header.bmWidth;
        info.bmiHeader.biHeight = -header.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const std::size_t count =
            static_cast<std::size_t>(header.bmWidth) * static_cast<std::size_t>(header.bmHeight);
        std::vector<std::uint32_t> bgrx(count);
        HDC screen = GetDC(nullptr);
        if (screen != nullptr && GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.bmHeight),
                                           bgrx.data(), &info, DIB_RGB_COLORS) == header.bmHeight) {
            rgb.resize(count * 3);
            for (std::size_t i = 0; i < count; ++i) {
                rgb[3 * i] = static_cast<std::uint8_t>(bgrx[i] >> 16);
                rgb[3 * i + 1] = static_cast<std::uint8_t>(bgrx[i] >> 8);
                rgb[3 * i + 2] = static_cast<std::uint8_t>(bgrx[i]);
            }
            width = header.bmWidth;
            height = header.bmHeight;
            loaded = true;
        }
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
    }
    DeleteObject(bitmap);
    return loaded;
}
