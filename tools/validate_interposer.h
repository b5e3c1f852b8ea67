// Real-time watch for tarvokin validate. Each watched function notes the call
// when the calling thread has armed the watch (a thread_local flag), then
// forwards to the real one. Nothing is noted on unarmed threads, so the rest
// of the tool runs as usual.
//
// Linux (validate_interposer_elf.cpp): the executable defines malloc, free,
// operator new/delete, the pthread lock calls and a few system-call wrappers
// itself, so that a dlopen'ed plug-in's calls land there first. Sanitizer
// builds bring their own allocator and interceptors; there the functions are
// not defined and interposerAvailable() answers false.
//
// Windows (validate_interposer_win32.cpp): a DLL calls system functions
// through its import table, so watchModule() points the plug-in's imports of
// the allocators, locks, waits, sleeps and file calls at watched versions.
#pragma once

#include "hosting/plugin_module.h"

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

// Makes the plug-in's calls reach the watch (Windows); nothing to do on Linux.
void watchModule(const hosting::PluginModule& module);

// Called first by every watched function.
void noteRealtimeCall(const char* name);

// Calls noted since the last reset, on any thread, and the name of the first.
void resetRealtimeViolations();
int realtimeViolationCount();
const char* firstRealtimeViolation(); // "" when there was none

} // namespace tarvokin::validate
