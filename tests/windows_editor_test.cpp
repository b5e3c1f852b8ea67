// The panel in a real Win32 window (under wine with a virtual X display): a
// host window opens the editor with its HWND, the panel is captured and kept
// as a picture in the build folder, a drag of the Duration slider made with
// xdotool reaches the host as begin edit, automation and end edit, and a
// choice in the Step menu's pop-up list sends 11/15 for "12".
#include "host/vst_abi.h"
#include "hosting/hosted_plugin.h"
#include "tests/abi_support.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

constexpr int kPanelWidth = 440;
constexpr int kPanelHeight = 210;
constexpr const char* kHostClass = "TarvokinTestHostWindow";

// Key messages that reached the host's window.
std::vector<UINT> hostKeyMessages;

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
        hostKeyMessages.push_back(message);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window standing in for the host's editor window.
HWND createHostWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &hostWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    RECT frame{0, 0, kPanelWidth, kPanelHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, kHostClass, "Tarvokin test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           40, 40, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Starts an X client program (wine runs Unix programs given by path) without
// waiting: the window's message loop must keep running while it acts.
bool startUnixProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string xdotool(const std::string& arguments) {
    return "/usr/bin/xdotool " + arguments;
}

// Captured window contents, 0x00RRGGBB per pixel, top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xffffffu;
    }
    // Writes a 24-bit uncompressed BMP file.
    bool write(const std::string& path) const {
        const int rowBytes = (width * 3 + 3) & ~3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        file.bfType = 0x4d42; // "BM"
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height; // bottom-up rows
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) {
            return false;
        }
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::vector<unsigned char> row(static_cast<std::size_t>(rowBytes), 0);
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = at(x, y);
                row[3 * x] = static_cast<unsigned char>(p);
                row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
                row[3 * x + 2] = static_cast<unsigned char>(p >> 16);
            }
            std::fwrite(row.data(), row.size(), 1, out);
        }
        return std::fclose(out) == 0;
    }
};

Capture captureWindow(HWND window) {
    Capture capture;
    RECT client{};
    GetClientRect(window, &client);
    capture.width = client.right;
    capture.height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        BitBlt(memoryDc, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        capture.pixels.assign(first, first + static_cast<std::size_t>(capture.width) *
                                                 static_cast<std::size_t>(capture.height));
        SelectObject(memoryDc, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return capture;
}

int countLight(const Capture& capture, RECT area) {
    int light = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = capture.at(x, y);
            if ((p & 0xff) > 160 && ((p >> 8) & 0xff) > 160 && ((p >> 16) & 0xff) > 160) {
                ++light;
            }
        }
    }
    return light;
}

class WindowsEditor : public abi_tests::TarvokinModule {
protected:
    void SetUp() override {
        TarvokinModule::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        plugin = create();
        ASSERT_NE(plugin, nullptr);
        plugin->open();
        plugin->resume(44100.0f, 512);
        host = createHostWindow();
        ASSERT_NE(host, nullptr) << "no window: is there an X display?";
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host), 1);
        panel = FindWindowExA(host, nullptr, nullptr, nullptr);
        ASSERT_NE(panel, nullptr) << "the editor made no child window";
        pumpUntil(400, [] { return false; });
        plugin->clearRequests();
    }

    void TearDown() override {
        if (plugin != nullptr && host != nullptr) {
            plugin->dispatch(effEditClose);
        }
        if (host != nullptr) {
            DestroyWindow(host);
        }
        plugin.reset();
    }

    // Runs the host's message loop and editor idle until done() or ms passed.
    bool pumpUntil(DWORD ms, const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG message{};
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            plugin->dispatch(effEditIdle);
            if (done()) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }

    // Screen position of a panel point: under wine the child's window
    // rectangle is in X root coordinates, which xdotool uses.
    POINT onScreen(int x, int y) const {
        RECT rect{};
        GetWindowRect(panel, &rect);
        return POINT{rect.left + x, rect.top + y};
    }

    // The requests about one parameter among begin edit, automate, end edit.
    std::vector<hosting::Request> gestureRequests(VstInt32 index) const {
        std::vector<hosting::Request> gesture;
        for (const hosting::Request& request : plugin->requests()) {
            const bool edit = request.opcode == audioMasterBeginEdit ||
                              request.opcode == audioMasterEndEdit ||
                              request.opcode == audioMasterAutomate;
            if (edit && request.index == index) {
                gesture.push_back(request);
            }
        }
        return gesture;
    }

    bool gestureEnded(VstInt32 index) const {
        const auto gesture = gestureRequests(index);
        return !gesture.empty() && gesture.back().opcode == audioMasterEndEdit;
    }

    std::unique_ptr<hosting::HostedPlugin> plugin;
    HWND host = nullptr;
    HWND panel = nullptr;
};

TEST_F(WindowsEditor, OpensThePanelAsAChildOfTheHostWindow) {
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, kPanelWidth);
    EXPECT_EQ(rect->bottom - rect->top, kPanelHeight);

    EXPECT_EQ(GetParent(panel), host);
    EXPECT_TRUE(IsWindowVisible(panel));
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, kPanelWidth);
    EXPECT_EQ(client.bottom, kPanelHeight);
    // The window class belongs to the plug-in's module: registered with hInstance.
    HMODULE dll = GetModuleHandleA("Tarvokin.dll");
    ASSERT_NE(dll, nullptr);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrA(panel, GCLP_HMODULE)), dll);
}

TEST_F(WindowsEditor, KeysAtThePanelGoOnToTheHostWindow) {
    hostKeyMessages.clear();
    SendMessageA(panel, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(panel, WM_CHAR, ' ', 0x00390001);
    SendMessageA(panel, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(hostKeyMessages, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(WindowsEditor, DrawsTheDefaultProgramAndKeepsAScreenshot) {
    InvalidateRect(panel, nullptr, FALSE);
    pumpUntil(300, [] { return false; });
    const Capture capture = captureWindow(panel);
    ASSERT_EQ(capture.width, kPanelWidth);
    ASSERT_EQ(capture.height, kPanelHeight);
    EXPECT_TRUE(capture.write(TARVOKIN_ARTIFACT_DIR "/windows_editor.bmp"));

    constexpr std::uint32_t kGreen = 0xacd239; // handle inside the step count
    constexpr std::uint32_t kGrey = 0x808080;  // handle outside it
    // Even steps at the top (handle from y 51), odd ones at the bottom (from 140);
    // steps 0-7 are inside the default count of 8.
    EXPECT_EQ(capture.at(30 + 1 + 6, 55), kGreen);       // step 0
    EXPECT_EQ(capture.at(45 + 1 + 6, 143), kGreen);      // step 1
    EXPECT_EQ(capture.at(30 + 120 + 1 + 6, 55), kGrey);  // step 8
    EXPECT_EQ(capture.at(30 + 135 + 1 + 6, 143), kGrey); // step 9
    // "100" in white on black in the three displays, "8" and "1/16" in the menus.
    for (RECT display : {RECT{312, 22, 338, 33}, RECT{352, 22, 378, 33}, RECT{392, 22, 418, 33},
                         RECT{312, 167, 338, 178}, RECT{356, 167, 382, 178}}) {
        EXPECT_GT(countLight(capture, display), 4) << display.left << "," << display.top;
    }
}

TEST_F(WindowsEditor, DraggingTheDurationSliderAutomatesBetweenBeginAndEndEdit) {
    ASSERT_FLOAT_EQ(plugin->getParameter(35), 1.0f);
    // Press on the knob (value 1: its top at y 40), drag 39 of the 78 pixels down.
    const POINT press = onScreen(324, 50);
    const std::string x = std::to_string(press.x);
    ASSERT_TRUE(startUnixProgram(xdotool(
        "mousemove " + x + " " + std::to_string(press.y) + " sleep 0.2 mousedown 1 sleep 0.2 " +
        "mousemove " + x + " " + std::to_string(press.y + 20) + " sleep 0.2 mousemove " + x + " " +
        std::to_string(press.y + 39) + " sleep 0.3 mouseup 1")));
    ASSERT_TRUE(pumpUntil(10000, [&] { return gestureEnded(35); }))
        << "the drag never ended; requests: " << plugin->requests().size();

    const auto gesture = gestureRequests(35);
    ASSERT_GE(gesture.size(), 3u);
    EXPECT_EQ(gesture.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(gesture.back().opcode, audioMasterEndEdit);
    for (std::size_t i = 1; i + 1 < gesture.size(); ++i) {
        EXPECT_EQ(gesture[i].opcode, audioMasterAutomate) << i;
    }
    const float last = gesture[gesture.size() - 2].opt;
    EXPECT_FLOAT_EQ(plugin->getParameter(35), last);
    EXPECT_GT(last, 0.3f);
    EXPECT_LT(last, 0.7f);
}

TEST_F(WindowsEditor, ChoosingTwelveInTheStepMenuSendsElevenFifteenths) {
    // While the pop-up list runs its own loop on this thread, a helper finds
    // the list's window and clicks entry 11 ("12") where the menu says it is.
    std::atomic<bool> clicked{false};
    std::thread chooser([&] {
        for (int tries = 0; tries < 500 && !clicked; ++tries) {
            HWND list = FindWindowA("#32768", nullptr);
            auto menu =
                list != nullptr && IsWindowVisible(list)
                    ? reinterpret_cast<HMENU>(SendMessageA(list, 0x01E1, 0, 0)) // MN_GETHMENU
                    : nullptr;
            RECT item{};
            if (menu != nullptr && GetMenuItemRect(nullptr, menu, 11, &item)) {
                const int x = (item.left + item.right) / 2;
                const int y = (item.top + item.bottom) / 2;
                clicked = startUnixProgram(xdotool("mousemove " + std::to_string(x) + " " +
                                                   std::to_string(y) + " sleep 0.2 click 1"));
            }
            Sleep(20);
        }
    });
    const POINT menu = onScreen(325, 172);
    ASSERT_TRUE(startUnixProgram(xdotool("mousemove " + std::to_string(menu.x) + " " +
                                         std::to_string(menu.y) + " sleep 0.2 click 1")));
    const bool ended = pumpUntil(10000, [&] { return gestureEnded(32); });
    clicked = true;
    chooser.join();
    ASSERT_TRUE(ended) << "no choice reached the host";

    const auto gesture = gestureRequests(32);
    ASSERT_EQ(gesture.size(), 3u);
    EXPECT_EQ(gesture[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(gesture[1].opcode, audioMasterAutomate);
    EXPECT_EQ(gesture[1].opt, static_cast<float>(11.0 / 15.0));
    EXPECT_EQ(gesture[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(plugin->getParameter(32), static_cast<float>(11.0 / 15.0));
}

} // namespace
