// The built Windows DLL as a file: its export table holds exactly the two
// entry names, it imports system DLLs only (no MinGW runtime DLL to ship next
// to it), and it carries the eight panel bitmaps as BITMAP resources that
// LoadBitmapA reads with their sizes and colours.
#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>
#include <windows.h>

namespace {

struct LoadedDll {
    HMODULE module = LoadLibraryA(TARVOKIN_MODULE_PATH);
    ~LoadedDll() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    const unsigned char* base() const { return reinterpret_cast<const unsigned char*>(module); }
    const IMAGE_DATA_DIRECTORY& directory(int which) const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base() + dos->e_lfanew);
        return nt->OptionalHeader.DataDirectory[which];
    }
};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(WindowsModule, ExportsExactlyTheTwoEntryNamesForOneFunction) {
    LoadedDll dll;
    ASSERT_NE(dll.module, nullptr) << TARVOKIN_MODULE_PATH;
    const IMAGE_DATA_DIRECTORY& entry = dll.directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(dll.base() + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(dll.base() + exports->AddressOfNames);
    std::set<std::string> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        exported.insert(reinterpret_cast<const char*>(dll.base() + names[i]));
    }
    EXPECT_EQ(exported, (std::set<std::string>{"VSTPluginMain", "main"}));
    EXPECT_EQ(exports->NumberOfFunctions, 2u);

    FARPROC pluginMain = GetProcAddress(dll.module, "VSTPluginMain");
    ASSERT_NE(pluginMain, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(dll.module, "main")),
              reinterpret_cast<void*>(pluginMain));
}

TEST(WindowsModule, ImportsSystemDllsOnly) {
    LoadedDll dll;
    ASSERT_NE(dll.module, nullptr);
    const IMAGE_DATA_DIRECTORY& entry = dll.directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",   "ole32.dll",
                                          "msimg32.dll",  "msvcrt.dll", "advapi32.dll"};
    std::vector<std::string> imported;
    for (const auto* import =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(dll.base() + entry.VirtualAddress);
         import->Name != 0; ++import) {
        imported.push_back(lowerCase(reinterpret_cast<const char*>(dll.base() + import->Name)));
    }
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported) {
        EXPECT_TRUE(system.count(name) == 1) << name << " is not a system DLL";
    }
}

struct BitmapCase {
    int id;
    int width;
    int height;
};

class WindowsBitmapResource : public ::testing::TestWithParam<BitmapCase> {};

// The pixel at (x, y) of a bitmap handle as 0x00RRGGBB, read through GetDIBits.
std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        pixels.clear();
    }
    for (auto& pixel : pixels) {
        pixel &= 0xffffffu;
    }
    return pixels;
}

TEST_P(WindowsBitmapResource, LoadsWithItsSize) {
    const BitmapCase& expected = GetParam();
    LoadedDll dll;
    ASSERT_NE(dll.module, nullptr);
    EXPECT_NE(FindResourceA(dll.module, MAKEINTRESOURCEA(expected.id), MAKEINTRESOURCEA(2)),
              nullptr); // RT_BITMAP
    HBITMAP bitmap = LoadBitmapA(dll.module, MAKEINTRESOURCEA(expected.id));
    ASSERT_NE(bitmap, nullptr);
    BITMAP header{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof header, &header), static_cast<int>(sizeof header));
    EXPECT_EQ(header.bmWidth, expected.width);
    EXPECT_EQ(header.bmHeight, expected.height);
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Panel, WindowsBitmapResource,
                         ::testing::Values(BitmapCase{101, 17, 22}, BitmapCase{102, 31, 30},
                                           BitmapCase{103, 440, 210}, BitmapCase{104, 15, 97},
                                           BitmapCase{105, 14, 8}, BitmapCase{106, 15, 30},
                                           BitmapCase{107, 7, 100}, BitmapCase{108, 14, 8}),
                         [](const auto& info) { return std::to_string(info.param.id); });

TEST(WindowsModule, BitmapColoursSurviveTheResourceCompiler) {
    LoadedDll dll;
    ASSERT_NE(dll.module, nullptr);
    struct Solid {
        int id;
        std::uint32_t colour;
    };
    for (const Solid& solid : {Solid{105, 0xacd239u}, Solid{108, 0x808080u}}) {
        HBITMAP bitmap = LoadBitmapA(dll.module, MAKEINTRESOURCEA(solid.id));
        ASSERT_NE(bitmap, nullptr);
        const auto pixels = pixelsOf(bitmap, 14, 8);
        DeleteObject(bitmap);
        ASSERT_EQ(pixels.size(), 14u * 8u);
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [&](std::uint32_t p) {
            return p == solid.colour;
        })) << solid.id;
    }
    // The large sliders' knob: white corners, which the panel keys out.
    HBITMAP knob = LoadBitmapA(dll.module, MAKEINTRESOURCEA(101));
    ASSERT_NE(knob, nullptr);
    const auto pixels = pixelsOf(knob, 17, 22);
    DeleteObject(knob);
    ASSERT_EQ(pixels.size(), 17u * 22u);
    for (std::size_t corner :
         {std::size_t{0}, std::size_t{16}, std::size_t{17 * 21}, std::size_t{17 * 22 - 1}}) {
        EXPECT_EQ(pixels[corner], 0xffffffu) << corner;
    }
    EXPECT_NE(pixels[17 * 11 + 8], 0xffffffu); // the middle is knob
}

TEST(WindowsModule, UnknownBitmapNumbersAreAbsent) {
    LoadedDll dll;
    ASSERT_NE(dll.module, nullptr);
    for (int id : {100, 109}) {
        EXPECT_EQ(LoadBitmapA(dll.module, MAKEINTRESOURCEA(id)), nullptr) << id;
    }
}

TEST(WindowsModule, BothEntryNamesCreateAnEffectWithAnEditor) {
    std::string error;
    auto module = hosting::PluginModule::load(TARVOKIN_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    for (const char* name : {"VSTPluginMain", "main"}) {
        auto instance = hosting::HostedPlugin::createWith(module->entryNamed(name), {}, &error);
        ASSERT_NE(instance, nullptr) << name << ": " << error;
        EXPECT_EQ(instance->effect()->uniqueID, 0x746B3637) << name; // 'tk67'
        EXPECT_EQ(instance->effect()->flags & effFlagsHasEditor, effFlagsHasEditor) << name;
        EXPECT_EQ(instance->close(), 1) << name;
    }
}

} // namespace
