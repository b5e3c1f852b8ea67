#include "resources/bmp_image.h"

#include <utility>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionRgb = 0;
// Far beyond any panel bitmap; keeps width * height * 3 well inside every integer type.
constexpr std::int64_t kMaxDimension = 16384;
constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t readI32(const unsigned char* p) {
    return static_cast<std::int32_t>(readU32(p));
}

void writeU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void writeU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xff));
}

// Bytes per stored row: pixels * bytes per pixel rounded up to a multiple of 4.
std::int64_t rowStride(std::int64_t width, std::int64_t bytesPerPixel) {
    return (width * bytesPerPixel + 3) / 4 * 4;
}

} // namespace

bool decodeBmp(const unsigned char* data, std::size_t size, BmpImage& out) {
    if (data == nullptr || size < kFileHeaderSize + kInfoHeaderSize)
        return false;
    if (data[0] != 'B' || data[1] != 'M')
        return false;
    const std::uint32_t pixelOffset = readU32(data + 10);
    const unsigned char* info = data + kFileHeaderSize;
    const std::uint32_t infoSize = readU32(info);
    // BITMAPINFOHEADER or one of its longer successors, which start the same way.
    if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize)
        return false;
    const std::int64_t width = readI32(info + 4);
    const std::int64_t signedHeight = readI32(info + 8);
    const std::uint16_t planes = readU16(info + 12);
    const std::uint16_t bitsPerPixel = readU16(info + 14);
    const std::uint32_t compression = readU32(info + 16);
    if (planes != 1 || compression != kCompressionRgb)
        return false;
    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        return false;
    // A negative height marks top-down rows.
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension)
        return false;

    const std::int64_t bytesPerPixel = bitsPerPixel / 8;
    const std::int64_t stride = rowStride(width, bytesPerPixel);
    if (pixelOffset < kFileHeaderSize + infoSize)
        return false;
    const std::int64_t available = static_cast<std::int64_t>(size) - pixelOffset;
    if (available < 0 || available / stride < height)
        return false;

    BmpImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgb.resize(static_cast<std::size_t>(width * height * 3));
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t storedRow = topDown ? y : height - 1 - y;
        const unsigned char* src = data + pixelOffset + storedRow * stride;
        std::uint8_t* dst = image.rgb.data() + y * width * 3;
        for (std::int64_t x = 0; x < width; ++x, src += bytesPerPixel, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    out = std::move(image);
    return true;
}

std::vector<std::uint8_t> encodeBmp(const BmpImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxDimension ||
        image.height > kMaxDimension ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3)
        return {};
    const std::int64_t stride = rowStride(image.width, 3);
    const auto pixelBytes = static_cast<std::uint32_t>(stride * image.height);
    const auto pixelOffset = static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize);

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    writeU32(out, pixelOffset + pixelBytes);
    writeU32(out, 0); // reserved
    writeU32(out, pixelOffset);
    writeU32(out, kInfoHeaderSize);
    writeU32(out, static_cast<std::uint32_t>(image.width));
    writeU32(out, static_cast<std::uint32_t>(image.height)); // positive: bottom-up rows
    writeU16(out, 1);                                        // planes
    writeU16(out, 24);                                       // bits per pixel
    writeU32(out, kCompressionRgb);
    writeU32(out, pixelBytes);
    writeU32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    writeU32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    writeU32(out, 0); // palette colours used
    writeU32(out, 0); // important colours
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* src = image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3;
        for (int x = 0; x < image.width; ++x, src += 3) {
            out.push_back(src[2]);
            out.push_back(src[1]);
            out.push_back(src[0]);
        }
        for (std::int64_t pad = image.width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}
