#include "gui/win32/win32_window.h"

#include "gui/win32/module_instance.h"

#include <windowsx.h>

namespace {

constexpr const char* kWindowClassName = "TarvokinFrameWindow";
// Windows using the class; it is unregistered with the last one, so a host
// that unloads the library keeps no class pointing into freed code.
int classUsers = 0;

bool registerWindowClass(WNDPROC procedure) {
    if (classUsers++ > 0) {
        return true;
    }
    WNDCLASSA windowClass{};
    // A class of this module only (no CS_GLOBALCLASS): another copy of the
    // library in the process registers its own, with its own procedure.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.lpszClassName = kWindowClassName;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        --classUsers;
        return false;
    }
    return true;
}

void unregisterWindowClass() {
    if (classUsers > 0 && --classUsers == 0) {
        UnregisterClassA(kWindowClassName, moduleInstance());
    }
}

bool keyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

std::unique_ptr<Win32WindowBackend> Win32WindowBackend::create(HWND parent, const CRect& size,
                                                               FrameEventSink& sink) {
    if (parent == nullptr || !IsWindow(parent) || size.isEmpty()) {
        return nullptr;
    }
    std::unique_ptr<Win32WindowBackend> backend(
        new Win32WindowBackend(sink, size.width(), size.height()));
    if (!backend->surface->isValid() || !registerWindowClass(&windowProcedure)) {
        return nullptr;
    }
    backend->window = CreateWindowExA(0, kWindowClassName, "",
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                      size.left, size.top, size.width(), size.height(), parent,
                                      nullptr, moduleInstance(), backend.get());
    if (backend->window == nullptr) {
        unregisterWindowClass();
        return nullptr;
    }
    return backend;
}

Win32WindowBackend::Win32WindowBackend(FrameEventSink& eventSink, int width, int height)
    : sink(eventSink), surface(std::make_unique<GdiDrawSurface>(width, height)) {}

Win32WindowBackend::~Win32WindowBackend() {
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0); // no more events reach this object
        DestroyWindow(window);
        unregisterWindowClass();
    }
}

LRESULT CALLBACK Win32WindowBackend::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* backend = reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (backend == nullptr || backend->window != window) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return backend->handle(message, wParam, lParam);
}

LRESULT Win32WindowBackend::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // The frame may delete itself, and this object, when a mouse or wheel
    // handler returns (the host closed the editor meanwhile): nothing below
    // touches a member after calling the sink.
    const HWND self = window;
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the back buffer covers everything
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus(window); // so wheel messages come here
        sink.onMouseDown(CPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                         buttonsAtMessage(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; // screen coordinates
        ScreenToClient(window, &where);
        const float notches =
            static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / static_cast<float>(WHEEL_DELTA);
        if (sink.onWheel(CPoint{where.x, where.y}, notches)) {
            return 0;
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        // A click gives this window the focus; keys go on to the host's
        // window, so its shortcuts keep working (it forwards the ones meant
        // for the panel through the editor's key opcodes).
        if (HWND parent = GetParent(window); parent != nullptr) {
            return SendMessageA(parent, message, wParam, lParam);
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(self, message, wParam, lParam);
}

void Win32WindowBackend::paint() {
    PAINTSTRUCT paintStruct{};
    HDC target = BeginPaint(window, &paintStruct);
    const RECT& area = paintStruct.rcPaint;
    painting = true;
    sink.onPaint(CRect{area.left, area.top, area.right, area.bottom});
    painting = false;
    if (target != nullptr) {
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
               surface->deviceContext(), area.left, area.top, SRCCOPY);
    }
    EndPaint(window, &paintStruct);
}

DrawSurface& Win32WindowBackend::beginDraw() {
    return *surface;
}

void Win32WindowBackend::endDraw(const CRect& changed) {
    const CRect area = changed.intersected(CRect{0, 0, surface->width(), surface->height()});
    if (painting || area.isEmpty() || window == nullptr) {
        return; // inside WM_PAINT the paint handler copies the buffer
    }
    HDC target = GetDC(window);
    if (target == nullptr) {
        return;
    }
    BitBlt(target, area.left, area.top, area.width(), area.height(), surface->deviceContext(),
           area.left, area.top, SRCCOPY);
    ReleaseDC(window, target);
}

long Win32WindowBackend::buttonsAndModifiers() const {
    // GetAsyncKeyState reports physical buttons; honour swapped mouse buttons.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    long buttons = 0;
    if (keyDown(swapped ? VK_RBUTTON : VK_LBUTTON)) {
        buttons |= kLButton;
    }
    if (keyDown(VK_MBUTTON)) {
        buttons |= kMButton;
    }
    if (keyDown(swapped ? VK_LBUTTON : VK_RBUTTON)) {
        buttons |= kRButton;
    }
    if (keyDown(VK_SHIFT)) {
        buttons |= kShift;
    }
    if (keyDown(VK_CONTROL)) {
        buttons |= kControl;
    }
    if (keyDown(VK_MENU)) {
        buttons |= kAlt;
    }
    return buttons;
}

long Win32WindowBackend::buttonsAtMessage(WPARAM keyState) {
    // The message's own key state, not the current one: a quick click is
    // often released before its button-down message is handled.
    long buttons = 0;
    if ((keyState & MK_LBUTTON) != 0) {
        buttons |= kLButton;
    }
    if ((keyState & MK_MBUTTON) != 0) {
        buttons |= kMButton;
    }
    if ((keyState & MK_RBUTTON) != 0) {
        buttons |= kRButton;
    }
    if ((keyState & MK_SHIFT) != 0) {
        buttons |= kShift;
    }
    if ((keyState & MK_CONTROL) != 0) {
        buttons |= kControl;
    }
    if ((GetKeyState(VK_MENU) & 0x8000) != 0) { // as of this message, too
        buttons |= kAlt;
    }
    return buttons;
}

PointerState Win32WindowBackend::readPointer() {
    PointerState state;
    POINT where{};
    if (GetCursorPos(&where) && ScreenToClient(window, &where)) {
        state.where = CPoint{where.x, where.y};
    }
    state.buttons = buttonsAndModifiers();
    return state;
}

int Win32WindowBackend::choose(const std::vector<std::string>& entries, int current,
                               const CRect& anchor) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return -1;
    }
    // Command ids are entry index + 1: TrackPopupMenu answers 0 for no choice.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        UINT flags = MF_STRING;
        if (static_cast<int>(i) == current) {
            flags |= MF_CHECKED;
        }
        AppendMenuA(menu, flags, static_cast<UINT_PTR>(i + 1), entries[i].c_str());
    }
    POINT corner{anchor.left, anchor.bottom};
    ClientToScreen(window, &corner);
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON,
        corner.x, corner.y, 0, window, nullptr));
    DestroyMenu(menu);
    return chosen >= 1 && chosen <= static_cast<int>(entries.size()) ? chosen - 1 : -1;
}

CPoint Win32WindowBackend::screenOrigin() {
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    return CPoint{corner.x, corner.y};
}

bool Win32WindowBackend::resize(int width, int height) {
    if (width <= 0 || height <= 0 || window == nullptr) {
        return false;
    }
    if (width != surface->width() || height != surface->height()) {
        auto resized = std::make_unique<GdiDrawSurface>(width, height);
        if (!resized->isValid()) {
            return false;
        }
        surface = std::move(resized);
    }
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
    return true;
}

std::unique_ptr<WindowBackend> createPlatformWindowBackend(void* parent, const CRect& size,
                                                           FrameEventSink& sink) {
    return Win32WindowBackend::create(static_cast<HWND>(parent), size, sink);
}
