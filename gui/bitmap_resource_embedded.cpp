// Bitmap resources from the bitmaps embedded in the library.
#include "gui/cbitmap.h"
#include "resources/bmp_image.h"
#include "resources/embedded_bitmaps.h"

bool loadBitmapResource(int id, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    const EmbeddedBitmap* embedded = findEmbeddedBitmap(id);
    if (embedded == nullptr || embedded->data == nullptr) {
        return false;
    }
    BmpImage image;
    if (!decodeBmp(embedded->data, embedded->size, image)) {
        return false;
    }
    width = image.width;
    height = image.height;
    rgb = std::move(image.rgb);
    return true;
}
