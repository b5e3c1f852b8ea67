#pragma once

#include <cstddef>

// A panel bitmap compiled into the library: the complete BMP file of resource `id`.
struct EmbeddedBitmap {
    int id;
    const unsigned char* data;
    std::size_t size;
};

// The BMP file bytes of resource id (101-108), or null for any other id.
const EmbeddedBitmap* findEmbeddedBitmap(int id);
