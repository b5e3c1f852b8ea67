// decodeBmp: what it accepts, and that it turns down malformed files without reading past
// the end of the buffer (run under AddressSanitizer: each case sits in an exact-size block).
#include "resources/bmp_image.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 3 x 2 pixels: rows need one byte of padding, so stride mistakes show.
BmpImage sampleImage() {
    BmpImage image;
    image.width = 3;
    image.height = 2;
    image.rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180};
    return image;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Decodes from a heap block of exactly the input's size.
bool decodeExact(const Bytes& bytes, BmpImage& out) {
    const auto block = std::make_unique<unsigned char[]>(bytes.size() ? bytes.size() : 1);
    if (!bytes.empty())
        std::memcpy(block.get(), bytes.data(), bytes.size());
    return decodeBmp(block.get(), bytes.size(), out);
}

TEST(DecodeBmp, ReadsWhatEncodeBmpWrites) {
    const BmpImage sample = sampleImage();
    const Bytes file = encodeBmp(sample);
    EXPECT_EQ(file.size(), 54u + 2 * 12);
    BmpImage decoded;
    ASSERT_TRUE(decodeExact(file, decoded));
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.rgb, sample.rgb);
}

TEST(DecodeBmp, ReadsTopDownRows) {
    Bytes file = encodeBmp(sampleImage());
    put32(file, 22, static_cast<std::uint32_t>(-2));
    BmpImage decoded;
    ASSERT_TRUE(decodeExact(file, decoded));
    // The stored rows now read first to last: the bottom row of the sample comes first.
    const std::vector<std::uint8_t> expected = {100, 110, 120, 130, 140, 150, 160, 170, 180,
                                                10,  20,  30,  40,  50,  60,  70,  80,  90};
    EXPECT_EQ(decoded.rgb, expected);
}

TEST(DecodeBmp, Reads32BitPixelsAndLongerInfoHeaders) {
    // 2 x 1 pixels, 32 bits each (B, G, R, unused), behind a 124-byte info header.
    const std::uint32_t infoSize = 124;
    Bytes file(14 + infoSize + 8, 0);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<std::uint32_t>(file.size()));
    put32(file, 10, 14 + infoSize);
    put32(file, 14, infoSize);
    put32(file, 18, 2);
    put32(file, 22, 1);
    put16(file, 26, 1);
    put16(file, 28, 32);
    const std::uint8_t pixels[] = {3, 2, 1, 0xaa, 6, 5, 4, 0xbb};
    std::memcpy(file.data() + 14 + infoSize, pixels, sizeof pixels);
    BmpImage decoded;
    ASSERT_TRUE(decodeExact(file, decoded));
    EXPECT_EQ(decoded.rgb, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

struct Corruption {
    const char* name;
    std::function<void(Bytes&)> apply;
};

TEST(DecodeBmp, RejectsMalformedFilesAndLeavesTheOutputAlone) {
    const Corruption corruptions[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"one byte", [](Bytes& b) { b.resize(1); }},
        {"file header only", [](Bytes& b) { b.resize(14); }},
        {"short info header", [](Bytes& b) { b.resize(53); }},
        {"headers without pixels", [](Bytes& b) { b.resize(54); }},
        {"last byte missing", [](Bytes& b) { b.pop_back(); }},
        {"wrong magic", [](Bytes& b) { b[1] = 'A'; }},
        {"info header too small", [](Bytes& b) { put32(b, 14, 12); }},
        {"info header beyond end", [](Bytes& b) { put32(b, 14, 4000); }},
        {"info header size absurd", [](Bytes& b) { put32(b, 14, 0xffffffffu); }},
        {"zero width", [](Bytes& b) { put32(b, 18, 0); }},
        {"negative width", [](Bytes& b) { put32(b, 18, static_cast<std::uint32_t>(-3)); }},
        {"zero height", [](Bytes& b) { put32(b, 22, 0); }},
        {"most negative height", [](Bytes& b) { put32(b, 22, 0x80000000u); }},
        {"absurd width", [](Bytes& b) { put32(b, 18, 0x7fffffffu); }},
        {"absurd height", [](Bytes& b) { put32(b, 22, 0x7fffffffu); }},
        {"more rows than data", [](Bytes& b) { put32(b, 22, 3); }},
        {"wider than data", [](Bytes& b) { put32(b, 18, 5); }},
        {"planes 0", [](Bytes& b) { put16(b, 26, 0); }},
        {"8 bits per pixel", [](Bytes& b) { put16(b, 28, 8); }},
        {"16 bits per pixel", [](Bytes& b) { put16(b, 28, 16); }},
        {"0 bits per pixel", [](Bytes& b) { put16(b, 28, 0); }},
        {"run-length compressed", [](Bytes& b) { put32(b, 30, 1); }},
        {"bit fields", [](Bytes& b) { put32(b, 30, 3); }},
        {"data offset beyond end",
         [](Bytes& b) { put32(b, 10, static_cast<std::uint32_t>(b.size() + 1)); }},
        {"data offset far beyond end", [](Bytes& b) { put32(b, 10, 0xfffffff0u); }},
        {"data offset inside headers", [](Bytes& b) { put32(b, 10, 20); }},
        {"data offset cuts the last row", [](Bytes& b) { put32(b, 10, 55); }},
    };
    const Bytes valid = encodeBmp(sampleImage());
    for (const Corruption& corruption : corruptions) {
        SCOPED_TRACE(corruption.name);
        Bytes file = valid;
        corruption.apply(file);
        BmpImage out;
        out.width = 7;
        out.height = 9;
        out.rgb = {1, 2, 3};
        EXPECT_FALSE(decodeExact(file, out));
        EXPECT_EQ(out.width, 7);
        EXPECT_EQ(out.height, 9);
        EXPECT_EQ(out.rgb, (std::vector<std::uint8_t>{1, 2, 3}));
    }
}

TEST(DecodeBmp, RejectsANullBuffer) {
    BmpImage out;
    EXPECT_FALSE(decodeBmp(nullptr, 100, out));
}

TEST(EncodeBmp, RefusesImagesWhoseSizeDoesNotMatchTheirPixels) {
    BmpImage image = sampleImage();
    image.rgb.pop_back();
    EXPECT_TRUE(encodeBmp(image).empty());
    image = sampleImage();
    image.width = 0;
    EXPECT_TRUE(encodeBmp(image).empty());
    image = sampleImage();
    image.height = -2;
    EXPECT_TRUE(encodeBmp(image).empty());
}

} // namespace
