#pragma once

#include "resources/embedded_bitmaps.h"

#include <span>

// Every embedded bitmap, in ascending id order. Defined by the source file the build
// generates from resources/bitmaps/*.bmp (see embed_bitmaps.cmake).
std::span<const EmbeddedBitmap> embeddedBitmapTable();
