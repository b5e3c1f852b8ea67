#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded bitmap: top-down rows, 3 bytes per pixel in the order R, G, B.
struct BmpImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Decodes a Windows BMP file held in memory: 24-bit uncompressed, or 32-bit BI_RGB
// (the fourth byte is ignored). Answers false, leaving `out` untouched, for anything
// else or anything malformed; never reads outside [data, data + size).
bool decodeBmp(const unsigned char* data, std::size_t size, BmpImage& out);

// Encodes an image as a 24-bit uncompressed BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER,
// bottom-up rows padded to 4 bytes. Answers an empty vector for an image
// whose size is not positive or whose rgb does not hold width * height * 3 bytes.
std::vector<std::uint8_t> encodeBmp(const BmpImage& image);
