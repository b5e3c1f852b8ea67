#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Reading the committed bitmaps for the resource tests.
inline std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::filesystem::path committedBitmap(int id) {
    return std::filesystem::path(TK_BITMAP_DIR) / (std::to_string(id) + ".bmp");
}
