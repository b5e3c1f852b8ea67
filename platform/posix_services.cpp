// The POSIX services: a monotonic millisecond clock and nanosleep. OLE has no
// counterpart here; paint events and the cursor belong to the window backend,
// which installs its hooks (services.h).
#include "platform/services.h"

#include <cerrno>
#include <ctime>

namespace platform {

namespace {

std::uint32_t monotonicMilliseconds(void* /*context*/) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Wraps like a 32-bit tick count: only differences matter.
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void sleepFor(void* /*context*/, std::uint32_t milliseconds) {
    timespec wait{static_cast<time_t>(milliseconds / 1000u),
                  static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

void nothing(void* /*context*/) {}

} // namespace

Services makeSystemServices(bool (*dispatchPaint)(void*), bool (*cursor)(void*, int&, int&)) {
    Services s;
    s.tickCount = &monotonicMilliseconds;
    s.sleep = &sleepFor;
    s.dispatchOnePaintEvent = dispatchPaint;
    s.cursorPosition = cursor;
    s.oleInitialize = &nothing;
    s.oleUninitialize = &nothing;
    return s;
}

} // namespace platform
