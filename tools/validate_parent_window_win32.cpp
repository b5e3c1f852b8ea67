#include "tools/validate_parent_window.h"

#include <windows.h>

namespace tarvokin::validate {
namespace {

constexpr const char* kClassName = "TarvokinValidateHostWindow";

bool registerClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

ParentWindow::ParentWindow(bool wanted, std::string* note) {
    if (!wanted) {
        return;
    }
    if (!registerClass()) {
        *note = "cannot register a window class: using a null parent";
        return;
    }
    HWND window = CreateWindowExA(0, kClassName, "tarvokin validate",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800,
                                  600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        *note = "cannot create a window: using a null parent";
        return;
    }
    handle_ = window;
    sync();
}

ParentWindow::~ParentWindow() {
    if (handle_ != nullptr) {
        DestroyWindow(static_cast<HWND>(handle_));
        sync();
    }
}

void ParentWindow::sync() {
    // The messages of this thread's windows, the editor's included.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace tarvokin::validate
