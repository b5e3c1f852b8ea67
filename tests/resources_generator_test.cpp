// The generator reproduces the committed bitmaps byte for byte, so the files in the tree
// are exactly what draw_bitmaps draws. After an intended change to the artwork, rebuild
// with the target regenerate_bitmaps and commit the new files.
#include "tests/resources_files.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

#ifdef TK_DRAW_BITMAPS
TEST(BitmapGenerator, ReproducesTheCommittedFiles) {
    const std::filesystem::path output =
        std::filesystem::temp_directory_path() / ("tarvokin-bitmaps-" + std::to_string(::getpid()));
    std::filesystem::remove_all(output);
    const std::string command =
        std::string("\"") + TK_DRAW_BITMAPS + "\" \"" + output.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int id = 101; id <= 108; ++id) {
        const auto drawn = readFileBytes(output / (std::to_string(id) + ".bmp"));
        EXPECT_FALSE(drawn.empty()) << id;
        EXPECT_TRUE(drawn == readFileBytes(committedBitmap(id)))
            << id << ".bmp differs from what draw_bitmaps draws now";
    }
    std::filesystem::remove_all(output);
}

TEST(BitmapGenerator, RejectsAMissingOutputDirectoryArgument) {
    const std::string command = std::string("\"") + TK_DRAW_BITMAPS + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
#else
TEST(BitmapGenerator, ReproducesTheCommittedFiles) {
    GTEST_SKIP() << "draw_bitmaps is not built here (cairo missing or cross build)";
}
#endif

} // namespace
