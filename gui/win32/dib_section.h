// DibSection: a 32-bit top-down device-independent bitmap selected into its
// own memory device context, so GDI can draw into it and the code can read
// and write its pixels (0x00RRGGBB) directly. Invalid (bits null) when the
// size is not positive or GDI refuses it.
#pragma once

#include <cstdint>
#include <windows.h>

class DibSection {
public:
    DibSection(int width, int height);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    bool isValid() const { return bits != nullptr; }
    HDC dc() const { return memoryDc; }
    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }
    // Row-major pixels; call GdiFlush before reading what GDI drew.
    std::uint32_t* pixels() const { return bits; }

private:
    void release();

    int pixelWidth = 0;
    int pixelHeight = 0;
    HDC memoryDc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
};
