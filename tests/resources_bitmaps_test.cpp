// The committed panel bitmaps: format, sizes, named colours, and that the pictures fit
// together the way the editor places them on the panel.
#include "resources/bmp_image.h"
#include "tests/resources_files.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

Pixel pixelAt(const BmpImage& image, int x, int y) {
    const std::uint8_t* p = image.rgb.data() + (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}

BmpImage load(int id) {
    const std::vector<std::uint8_t> bytes = readFileBytes(committedBitmap(id));
    BmpImage image;
    EXPECT_TRUE(decodeBmp(bytes.data(), bytes.size(), image)) << id;
    return image;
}

// Mean brightness of rows [top, bottom).
double meanBrightness(const BmpImage& image, int top, int bottom) {
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = pixelAt(image, x, y);
            sum += 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
        }
    return sum / ((bottom - top) * image.width);
}

// True when the w x h block at (ax, ay) of a equals the one at (bx, by) of b.
bool sameBlock(const BmpImage& a, int ax, int ay, const BmpImage& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!(pixelAt(a, ax + x, ay + y) == pixelAt(b, bx + x, by + y)))
                return false;
    return true;
}

constexpr Pixel kWhite{255, 255, 255};

struct Expected {
    int id, width, height;
};
constexpr std::array<Expected, 8> kSizes{{{101, 17, 22},
                                          {102, 31, 30},
                                          {103, 440, 210},
                                          {104, 15, 97},
                                          {105, 14, 8},
                                          {106, 15, 30},
                                          {107, 7, 100},
                                          {108, 14, 8}}};

TEST(CommittedBitmaps, AreUncompressed24BitFilesOfTheirSize) {
    for (const Expected& e : kSizes) {
        SCOPED_TRACE(e.id);
        const std::vector<std::uint8_t> b = readFileBytes(committedBitmap(e.id));
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(b, 2), b.size()); // file size field
        EXPECT_EQ(u32(b, 10), 54u);     // pixels right after the headers
        EXPECT_EQ(u32(b, 14), 40u);     // BITMAPINFOHEADER
        EXPECT_EQ(u32(b, 18), static_cast<std::uint32_t>(e.width));
        EXPECT_EQ(u32(b, 22), static_cast<std::uint32_t>(e.height)); // positive: bottom-up
        EXPECT_EQ(u16(b, 26), 1);                                    // planes
        EXPECT_EQ(u16(b, 28), 24);                                   // bits per pixel
        EXPECT_EQ(u32(b, 30), 0u);                                   // BI_RGB
        const std::size_t stride = (e.width * 3 + 3) / 4 * 4;
        EXPECT_EQ(b.size(), 54 + stride * e.height);
        const BmpImage image = load(e.id);
        EXPECT_EQ(image.width, e.width);
        EXPECT_EQ(image.height, e.height);
    }
}

TEST(CommittedBitmaps, StepHandlesAreSolidGreenAndGrey) {
    const std::pair<int, Pixel> handles[] = {{105, {172, 210, 57}}, {108, {128, 128, 128}}};
    for (const auto& [id, colour] : handles) {
        const BmpImage image = load(id);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                ASSERT_EQ(pixelAt(image, x, y), colour) << id << " at " << x << "," << y;
    }
}

TEST(CommittedBitmaps, KnobIsWhiteOnlyOutsideItsOval) {
    const BmpImage knob = load(101);
    for (auto [x, y] : {std::pair{0, 0}, {16, 0}, {0, 21}, {16, 21}})
        EXPECT_EQ(pixelAt(knob, x, y), kWhite) << x << "," << y;
    // The oval's axes run through the whole bitmap; no pixel on them may read as
    // transparent, or the slot would show through the knob.
    for (int x = 0; x < knob.width; ++x)
        EXPECT_NE(pixelAt(knob, x, 11), kWhite) << x;
    for (int y = 0; y < knob.height; ++y)
        EXPECT_NE(pixelAt(knob, 8, y), kWhite) << y;
    // Blue dominates in the body.
    const Pixel centre = pixelAt(knob, 8, 6);
    EXPECT_GT(centre.b, centre.r + 40);
    EXPECT_GT(centre.b, centre.g);
}

TEST(CommittedBitmaps, SwitchesShowOffAboveOnBelow) {
    for (int id : {102, 106}) {
        const BmpImage image = load(id);
        const int half = image.height / 2;
        EXPECT_LT(meanBrightness(image, 0, half) + 20, meanBrightness(image, half, image.height))
            << id;
        const Pixel on = pixelAt(image, image.width / 2, half + half / 2);
        EXPECT_GT(on.g, on.r) << id;
        EXPECT_GT(on.g, on.b + 80) << id;
    }
}

TEST(CommittedBitmaps, SlotHasBlueBorderAndDarkInside) {
    const BmpImage slot = load(107);
    const Pixel border = pixelAt(slot, 0, 50);
    const Pixel inside = pixelAt(slot, 3, 50);
    EXPECT_GT(border.b, border.r + 60);
    EXPECT_LT(inside.r + inside.g + inside.b, 3 * 40);
}

// The panel under the controls: each picture matches the background it covers, so nothing
// changes when a control first draws, and the three large sliders, which all show the first
// slot behind their knob, find identical slots.
TEST(CommittedBitmaps, PanelMatchesTheControlsPlacedOnIt) {
    const BmpImage panel = load(103);
    const BmpImage column = load(104);
    const BmpImage legato = load(106);
    const BmpImage declick = load(102);
    const BmpImage slot = load(107);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(sameBlock(panel, 30 + 15 * i, 51, column, 0, 0, 15, 97)) << "column " << i;
        EXPECT_TRUE(sameBlock(panel, 30 + 15 * i, 165, legato, 0, 0, 15, 15)) << "legato " << i;
    }
    EXPECT_TRUE(sameBlock(panel, 394, 165, declick, 0, 0, 31, 15));
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(sameBlock(panel, 316 + 40 * j, 40, panel, 316, 40, 17, 100)) << "slider " << j;
        EXPECT_TRUE(sameBlock(panel, 321 + 40 * j, 40, slot, 0, 0, 7, 100)) << "slot " << j;
    }
}

TEST(CommittedBitmaps, StepColumnsKeepTheGridLineClearOfTheHandle) {
    const BmpImage column = load(104);
    const Pixel line = pixelAt(column, 0, 40);
    const Pixel well = pixelAt(column, 7, 40);
    EXPECT_GT(line.r + line.g + line.b, well.r + well.g + well.b + 30);
    for (int y = 0; y < column.height; ++y)
        EXPECT_EQ(pixelAt(column, 0, y), line) << y;
}

TEST(CommittedBitmaps, ValueBoxesAndMenusArePaintedBlack) {
    const BmpImage panel = load(103);
    const std::array<std::array<int, 4>, 5> boxes{{{312, 22, 338, 33},
                                                   {352, 22, 378, 33},
                                                   {392, 22, 418, 33},
                                                   {312, 167, 338, 178},
                                                   {356, 167, 382, 178}}};
    for (const auto& box : boxes)
        for (int y = box[1]; y < box[3]; ++y)
            for (int x = box[0]; x < box[2]; ++x)
                ASSERT_EQ(pixelAt(panel, x, y), (Pixel{0, 0, 0})) << x << "," << y;
}

} // namespace
