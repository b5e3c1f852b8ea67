// Real-time watch for tarvokin validate: the executable defines malloc, free,
// operator new/delete, the pthread lock calls and a few system-call wrappers
// itself, so that a dlopen'ed plug-in's calls land here first. Each one notes
// the call when the calling thread has armed the watch (a thread_local flag),
// then forwards to the C library. Nothing is noted on unarmed threads, so the
// rest of the tool runs as usual.
//
// Sanitizer builds bring their own allocator and interceptors; there the
// functions are not defined and available() answers false.
#pragma once

namespace tarvokin::validate {

// Whether the calls are interposed in this build.
bool interposerAvailable();

// Arms the watch on the constructing thread until destruction.
class RealtimeWatch {
public:
    RealtimeWatch();
    ~RealtimeWatch();
    RealtimeWatch(const RealtimeWatch&) = delete;
    RealtimeWatch& operator=(const RealtimeWatch&) = delete;
};

// Calls noted since the last reset, on any thread, and the name of the first.
void resetRealtimeViolations();
int realtimeViolationCount();
const char* firstRealtimeViolation(); // "" when there was none

} // namespace tarvokin::validate
