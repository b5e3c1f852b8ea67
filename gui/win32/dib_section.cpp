#include "gui/win32/dib_section.h"

DibSection::DibSection(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    memoryDc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (memoryDc == nullptr || bitmap == nullptr || memory == nullptr) {
        release();
        return;
    }
    pixelWidth = width;
    pixelHeight = height;
    bits = static_cast<std::uint32_t*>(memory);
    previous = SelectObject(memoryDc, bitmap);
}

DibSection::~DibSection() {
    release();
}

void DibSection::release() {
    if (memoryDc != nullptr && previous != nullptr) {
        SelectObject(memoryDc, previous);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memoryDc != nullptr) {
        DeleteDC(memoryDc);
    }
    memoryDc = nullptr;
    bitmap = nullptr;
    previous = nullptr;
    bits = nullptr;
    pixelWidth = 0;
    pixelHeight = 0;
}
