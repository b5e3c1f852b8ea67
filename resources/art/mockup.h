#pragma once

#include "resources/art/pictures.h"
#include "resources/art/text.h"

// The panel as a user sees it: the bitmaps placed the way the editor places them, with
// handles at sample values, some switches on and the displays showing values.
Surface drawMockup(const PanelPictures& pictures, const PanelFonts& fonts);

// Writes the surface enlarged by a whole factor (nearest pixel) as a PNG file.
bool writeEnlargedPng(cairo_surface_t* surface, int factor, const char* path);
