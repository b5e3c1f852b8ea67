// CBitmap: a picture loaded by resource number, reference-counted. It starts
// with one reference; remember adds one, forget drops one and frees the bitmap
// at zero. A bitmap that cannot be loaded is 0x0 and draws nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

// A drawing backend's own copy of a bitmap (a cairo surface, a GDI bitmap),
// made on first use and kept with the bitmap until it is freed.
class NativeImage {
public:
    virtual ~NativeImage() = default;
};

class CBitmap {
public:
    // Loads resource number resourceId (101..108 for the panel).
    explicit CBitmap(int resourceId);

    void remember();
    void forget();
    int referenceCount() const { return references.load(); }

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getResourceId() const { return resourceId; }
    // Top-down rows of red, green, blue bytes, width * height * 3 of them.
    const std::vector<std::uint8_t>& getPixels() const { return rgb; }

    // The backend's cached copy; the backend checks its type with dynamic_cast.
    NativeImage* getNativeImage() const { return native.get(); }
    void setNativeImage(std::unique_ptr<NativeImage> image) const { native = std::move(image); }

    // How many bitmaps were loaded in this process so far (successful or not).
    static std::uint64_t loadCount();

    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

protected:
    ~CBitmap() = default;

private:
    int resourceId;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::atomic<int> references{1};
    mutable std::unique_ptr<NativeImage> native;
};

// Fills width, height and top-down RGB pixels of bitmap resource id; false
// (and nothing filled) when there is no such resource or it cannot be decoded.
// On Linux the pixels come from the bitmaps embedded in the library; a
// platform backend may provide its own (gui/bitmap_resource_embedded.cpp is
// the embedded-bitmaps version).
bool loadBitmapResource(int id, int& width, int& height, std::vector<std::uint8_t>& rgb);
