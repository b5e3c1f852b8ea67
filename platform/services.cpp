#include "platform/services.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<PaintHook> paintHook{nullptr};
std::atomic<CursorHook> cursorHook{nullptr};

bool dispatchThroughHook(void* /*context*/) {
    PaintHook hook = paintHook.load();
    return hook != nullptr && hook();
}

bool cursorThroughHook(void* /*context*/, int& x, int& y) {
    CursorHook hook = cursorHook.load();
    return hook != nullptr && hook(x, y);
}

Services& current() {
    static Services services = systemServices();
    return services;
}

} // namespace

// Provided per operating system (posix_services.cpp, later win32_services.cpp).
Services makeSystemServices(bool (*dispatchPaint)(void*), bool (*cursor)(void*, int&, int&));

const Services& systemServices() {
    static const Services services = makeSystemServices(&dispatchThroughHook, &cursorThroughHook);
    return services;
}

const Services& currentServices() {
    return current();
}
void setServices(const Services& services) {
    current() = services;
}
void resetServices() {
    current() = systemServices();
}

std::uint32_t tickCount() {
    const Services& s = current();
    return s.tickCount != nullptr ? s.tickCount(s.context) : 0;
}

void sleepMilliseconds(std::uint32_t milliseconds) {
    const Services& s = current();
    if (s.sleep != nullptr) {
        s.sleep(s.context, milliseconds);
    }
}

bool dispatchOnePaintEvent() {
    const Services& s = current();
    return s.dispatchOnePaintEvent != nullptr && s.dispatchOnePaintEvent(s.context);
}

bool cursorPosition(int& x, int& y) {
    x = 0;
    y = 0;
    const Services& s = current();
    return s.cursorPosition != nullptr && s.cursorPosition(s.context, x, y);
}

void oleInitialize() {
    const Services& s = current();
    if (s.oleInitialize != nullptr) {
        s.oleInitialize(s.context);
    }
}

void oleUninitialize() {
    const Services& s = current();
    if (s.oleUninitialize != nullptr) {
        s.oleUninitialize(s.context);
    }
}

void setPaintHook(PaintHook hook) {
    paintHook.store(hook);
}
void setCursorHook(CursorHook hook) {
    cursorHook.store(hook);
}

} // namespace platform
