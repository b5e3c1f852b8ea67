// Draws the eight panel bitmaps (101-108) and writes them as 24-bit BMP files.
//
//   draw_bitmaps OUTPUT_DIR [--preview PREVIEW_DIR]
//
// With --preview it also writes enlarged PNGs of every bitmap and a mock-up of the
// assembled panel, for looking at the artwork.
#include "resources/art/mockup.h"
#include "resources/art/pictures.h"
#include "resources/art/text.h"
#include "resources/bmp_image.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

int usage() {
    std::fprintf(stderr, "usage: draw_bitmaps OUTPUT_DIR [--preview PREVIEW_DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview"))
        return usage();
    try {
        const PanelFonts fonts;
        const PanelPictures pictures = drawPanelPictures(fonts);
        const std::pair<int, cairo_surface_t*> bitmaps[] = {
            {101, pictures.knob.get()},         {102, pictures.declickSwitch.get()},
            {103, pictures.panel.get()},        {104, pictures.gridColumn.get()},
            {105, pictures.activeHandle.get()}, {106, pictures.legatoSwitch.get()},
            {107, pictures.slot.get()},         {108, pictures.inactiveHandle.get()},
        };
        const std::filesystem::path output(argv[1]);
        std::filesystem::create_directories(output);
        for (const auto& [id, surface] : bitmaps) {
            const auto path = output / (std::to_string(id) + ".bmp");
            if (!writeFile(path, encodeBmp(toBmpImage(surface)))) {
                std::fprintf(stderr, "draw_bitmaps: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        if (argc == 4) {
            const std::filesystem::path preview(argv[3]);
            std::filesystem::create_directories(preview);
            bool written = true;
            for (const auto& [id, surface] : bitmaps) {
                const auto path = preview / (std::to_string(id) + ".png");
                written &= writeEnlargedPng(surface, id == 103 ? 2 : 8, path.c_str());
            }
            Surface mockup = drawMockup(pictures, fonts);
            written &= writeEnlargedPng(mockup.get(), 1, (preview / "panel.png").c_str());
            written &= writeEnlargedPng(mockup.get(), 3, (preview / "panel-3x.png").c_str());
            if (!written) {
                std::fprintf(stderr, "draw_bitmaps: cannot write the previews\n");
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "draw_bitmaps: %s\n", error.what());
        return 1;
    }
    return 0;
}
