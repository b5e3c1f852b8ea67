#include "resources/embedded_bitmaps.h"

#include "resources/embedded_bitmap_table.h"

const EmbeddedBitmap* findEmbeddedBitmap(int id) {
    for (const EmbeddedBitmap& bitmap : embeddedBitmapTable()) {
        if (bitmap.id == id)
            return &bitmap;
    }
    return nullptr;
}
