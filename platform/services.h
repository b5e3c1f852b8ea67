// The few operating-system services the editor shell uses: a millisecond tick
// count, a short sleep, taking and handling one pending paint event, the cursor
// position and the per-thread OLE set-up. They go through one process-wide set
// of function pointers so tests can swap in a fake clock and count calls.
#pragma once

#include <cstdint>

namespace platform {

struct Services {
    // Opaque pointer handed to every function below (a fake's state).
    void* context = nullptr;
    // Milliseconds since some start, unsigned 32-bit, wrapping every 2^32 ms.
    std::uint32_t (*tickCount)(void* context) = nullptr;
    // Pauses the calling thread for about milliseconds.
    void (*sleep)(void* context, std::uint32_t milliseconds) = nullptr;
    // Takes at most one pending paint event of the calling thread and handles
    // it; true when there was one.
    bool (*dispatchOnePaintEvent)(void* context) = nullptr;
    // The cursor's screen position; false (and 0, 0) when unknown.
    bool (*cursorPosition)(void* context, int& x, int& y) = nullptr;
    // Per-thread OLE set-up and tear-down (nothing to do outside Windows).
    void (*oleInitialize)(void* context) = nullptr;
    void (*oleUninitialize)(void* context) = nullptr;
};

// The operating system's own services of this build.
const Services& systemServices();

// The set in use. Replace it only while no editor runs on another thread.
const Services& currentServices();
void setServices(const Services& services);
// Puts the system's own services back.
void resetServices();

// Shorthands through the current set.
std::uint32_t tickCount();
void sleepMilliseconds(std::uint32_t milliseconds);
bool dispatchOnePaintEvent();
bool cursorPosition(int& x, int& y);
void oleInitialize();
void oleUninitialize();

// The paint hook of this build's windowing: a window backend without a
// message queue of its own (X11) installs the function that takes and handles
// one pending expose event; the system set calls it. Null means none.
using PaintHook = bool (*)();
void setPaintHook(PaintHook hook);
// Likewise the cursor position of this build's windowing (X11 asks the server).
using CursorHook = bool (*)(int& x, int& y);
void setCursorHook(CursorHook hook);

} // namespace platform
