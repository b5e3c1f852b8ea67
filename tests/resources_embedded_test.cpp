// The bitmaps compiled into the library are the committed files, found by resource id.
#include "resources/bmp_image.h"
#include "resources/embedded_bitmaps.h"
#include "tests/resources_files.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(EmbeddedBitmaps, AnswerTheCommittedFileBytes) {
    for (int id = 101; id <= 108; ++id) {
        SCOPED_TRACE(id);
        const EmbeddedBitmap* bitmap = findEmbeddedBitmap(id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->id, id);
        const std::vector<std::uint8_t> committed = readFileBytes(committedBitmap(id));
        ASSERT_FALSE(committed.empty());
        EXPECT_EQ(std::vector<std::uint8_t>(bitmap->data, bitmap->data + bitmap->size), committed);
        BmpImage image;
        EXPECT_TRUE(decodeBmp(bitmap->data, bitmap->size, image));
    }
}

TEST(EmbeddedBitmaps, UnknownIdsAnswerNull) {
    for (int id : {100, 109, 0, -1, -101, INT_MIN, INT_MAX})
        EXPECT_EQ(findEmbeddedBitmap(id), nullptr) << id;
}

} // namespace
