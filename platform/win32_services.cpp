// The Win32 services: GetTickCount, Sleep, one pending WM_PAINT message of the
// calling thread taken with PeekMessageA and handed to DispatchMessageA,
// GetCursorPos and the per-thread OLE set-up. The paint and cursor hooks of
// services.h are not needed: the system has its own message queue and cursor.
#include "platform/services.h"

#include <ole2.h>
#include <windows.h>

namespace platform {

namespace {

std::uint32_t tickCountMilliseconds(void* /*context*/) {
    return static_cast<std::uint32_t>(GetTickCount());
}

void sleepFor(void* /*context*/, std::uint32_t milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

bool dispatchOnePaintMessage(void* /*context*/) {
    MSG message{};
    if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        return false;
    }
    DispatchMessageA(&message);
    return true;
}

bool cursorScreenPosition(void* /*context*/, int& x, int& y) {
    POINT where{};
    if (!GetCursorPos(&where)) {
        return false;
    }
    x = where.x;
    y = where.y;
    return true;
}

void initializeOle(void* /*context*/) {
    OleInitialize(nullptr); // the answer changes nothing: uninitialised once all the same
}

void uninitializeOle(void* /*context*/) {
    OleUninitialize();
}

} // namespace

Services makeSystemServices(bool (* /*dispatchPaint*/)(void*),
                            bool (* /*cursor*/)(void*, int&, int&)) {
    Services s;
    s.tickCount = &tickCountMilliseconds;
    s.sleep = &sleepFor;
    s.dispatchOnePaintEvent = &dispatchOnePaintMessage;
    s.cursorPosition = &cursorScreenPosition;
    s.oleInitialize = &initializeOle;
    s.oleUninitialize = &uninitializeOle;
    return s;
}

} // namespace platform
