#include "tools/validate_interposer.h"

#include <atomic>

namespace tarvokin::validate {
namespace {

// Constant-initialised thread_local in the executable. On ELF, reading it
// needs no allocation and no call, so it is safe inside malloc itself. On
// Windows it is emulated and its first read on a thread allocates, through
// the tool's own allocator, whose calls are not watched (only the plug-in's
// import table is).
thread_local bool armed = false;
std::atomic<int> violations{0};
std::atomic<const char*> firstViolation{nullptr};

} // namespace

RealtimeWatch::RealtimeWatch() {
    armed = true;
}
RealtimeWatch::~RealtimeWatch() {
    armed = false;
}

void resetRealtimeViolations() {
    violations.store(0);
    firstViolation.store(nullptr);
}

int realtimeViolationCount() {
    return violations.load();
}

const char* firstRealtimeViolation() {
    const char* name = firstViolation.load();
    return name != nullptr ? name : "";
}

void noteRealtimeCall(const char* name) {
    if (!armed) {
        return;
    }
    violations.fetch_add(1);
    const char* none = nullptr;
    firstViolation.compare_exchange_strong(none, name);
}

} // namespace tarvokin::validate
