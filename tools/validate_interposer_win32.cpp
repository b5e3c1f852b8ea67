// The real-time watch on Windows: a DLL reaches the C runtime and the system
// through its import address table, so the plug-in's entries for the
// allocators, locks, waits, sleeps, file calls and thread creation are pointed
// at watched versions that note the call and forward to what the entry held.
// Code a plug-in links in statically (a static winpthread's uncontended
// mutex) calls nothing through the table and is not seen.
#include "tools/validate_interposer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <windows.h>

namespace tarvokin::validate {
namespace {

// The calling conventions collapse into one on x86-64, so every import's type
// below is a plain function pointer type.
static_assert(sizeof(void*) == 8, "the watched imports are written for 64-bit Windows");

// The C runtime's and the C++ allocation functions (the declarations' own
// types carry attributes that do not belong in a template argument).
using AllocateFunction = void* (*)(std::size_t);
using AllocateArrayFunction = void* (*)(std::size_t, std::size_t);
using ReallocateFunction = void* (*)(void*, std::size_t);
using AlignedReallocateFunction = void* (*)(void*, std::size_t, std::size_t);
using ReleaseFunction = void (*)(void*);
using SizedReleaseFunction = void (*)(void*, std::size_t);
using NothrowAllocateFunction = void* (*)(std::size_t, const void*);
// winpthread's calls in a DLL linked against libwinpthread-1.dll.
using PthreadCall = int (*)(void*);
using PthreadWait = int (*)(void*, void*);
using PthreadTimedCall = int (*)(void*, const void*);
using PthreadTimedWait = int (*)(void*, void*, const void*);
using BeginThreadFunction = std::uintptr_t (*)(void*, unsigned, unsigned (*)(void*), void*,
                                               unsigned, unsigned*);

// symbol in the import table, name in the report, function type.
#define TK_WATCHED_IMPORTS(X)                                                                      \
    X(malloc, "malloc", AllocateFunction)                                                          \
    X(calloc, "calloc", AllocateArrayFunction)                                                     \
    X(realloc, "realloc", ReallocateFunction)                                                      \
    X(free, "free", ReleaseFunction)                                                               \
    X(_aligned_malloc, "_aligned_malloc", AllocateArrayFunction)                                   \
    X(_aligned_realloc, "_aligned_realloc", AlignedReallocateFunction)                             \
    X(_aligned_free, "_aligned_free", ReleaseFunction)                                             \
    X(_Znwy, "operator new", AllocateFunction)                                                     \
    X(_Znay, "operator new[]", AllocateFunction)                                                   \
    X(_ZdlPv, "operator delete", ReleaseFunction)                                                  \
    X(_ZdaPv, "operator delete[]", ReleaseFunction)                                                \
    X(_ZdlPvy, "operator delete", SizedReleaseFunction)                                            \
    X(_ZdaPvy, "operator delete[]", SizedReleaseFunction)                                          \
    X(_ZnwyRKSt9nothrow_t, "operator new", NothrowAllocateFunction)                                \
    X(_ZnayRKSt9nothrow_t, "operator new[]", NothrowAllocateFunction)                              \
    X(_ZnwySt11align_val_t, "operator new", AllocateArrayFunction)                                 \
    X(_ZnaySt11align_val_t, "operator new[]", AllocateArrayFunction)                               \
    X(_ZdlPvSt11align_val_t, "operator delete", SizedReleaseFunction)                              \
    X(_ZdaPvSt11align_val_t, "operator delete[]", SizedReleaseFunction)                            \
    X(HeapAlloc, "HeapAlloc", decltype(&::HeapAlloc))                                              \
    X(HeapReAlloc, "HeapReAlloc", decltype(&::HeapReAlloc))                                        \
    X(HeapFree, "HeapFree", decltype(&::HeapFree))                                                 \
    X(LocalAlloc, "LocalAlloc", decltype(&::LocalAlloc))                                           \
    X(LocalFree, "LocalFree", decltype(&::LocalFree))                                              \
    X(GlobalAlloc, "GlobalAlloc", decltype(&::GlobalAlloc))                                        \
    X(GlobalFree, "GlobalFree", decltype(&::GlobalFree))                                           \
    X(VirtualAlloc, "VirtualAlloc", decltype(&::VirtualAlloc))                                     \
    X(VirtualFree, "VirtualFree", decltype(&::VirtualFree))                                        \
    X(EnterCriticalSection, "EnterCriticalSection", decltype(&::EnterCriticalSection))             \
    X(TryEnterCriticalSection, "TryEnterCriticalSection", decltype(&::TryEnterCriticalSection))    \
    X(AcquireSRWLockExclusive, "AcquireSRWLockExclusive", decltype(&::AcquireSRWLockExclusive))    \
    X(AcquireSRWLockShared, "AcquireSRWLockShared", decltype(&::AcquireSRWLockShared))             \
    X(SleepConditionVariableCS, "SleepConditionVariableCS", decltype(&::SleepConditionVariableCS)) \
    X(SleepConditionVariableSRW, "SleepConditionVariableSRW",                                      \
      decltype(&::SleepConditionVariableSRW))                                                      \
    X(WaitForSingleObject, "WaitForSingleObject", decltype(&::WaitForSingleObject))                \
    X(WaitForSingleObjectEx, "WaitForSingleObjectEx", decltype(&::WaitForSingleObjectEx))          \
    X(WaitForMultipleObjects, "WaitForMultipleObjects", decltype(&::WaitForMultipleObjects))       \
    X(Sleep, "Sleep", decltype(&::Sleep))                                                          \
    X(SleepEx, "SleepEx", decltype(&::SleepEx))                                                    \
    X(CreateFileA, "CreateFileA", decltype(&::CreateFileA))                                        \
    X(CreateFileW, "CreateFileW", decltype(&::CreateFileW))                                        \
    X(ReadFile, "ReadFile", decltype(&::ReadFile))                                                 \
    X(WriteFile, "WriteFile", decltype(&::WriteFile))                                              \
    X(CreateThread, "CreateThread", decltype(&::CreateThread))                                     \
    X(_beginthreadex, "_beginthreadex", BeginThreadFunction)                                       \
    X(pthread_mutex_lock, "pthread_mutex_lock", PthreadCall)                                       \
    X(pthread_mutex_trylock, "pthread_mutex_trylock", PthreadCall)                                 \
    X(pthread_mutex_timedlock, "pthread_mutex_timedlock", PthreadTimedCall)                        \
    X(pthread_rwlock_rdlock, "pthread_rwlock_rdlock", PthreadCall)                                 \
    X(pthread_rwlock_wrlock, "pthread_rwlock_wrlock", PthreadCall)                                 \
    X(pthread_spin_lock, "pthread_spin_lock", PthreadCall)                                         \
    X(pthread_cond_wait, "pthread_cond_wait", PthreadWait)                                         \
    X(pthread_cond_timedwait, "pthread_cond_timedwait", PthreadTimedWait)                          \
    X(sem_wait, "sem_wait", PthreadCall)

enum ImportIndex : std::size_t {
#define TK_INDEX(symbol, label, type) index_##symbol,
    TK_WATCHED_IMPORTS(TK_INDEX)
#undef TK_INDEX
        kImportCount
};

constexpr const char* kLabels[] = {
#define TK_LABEL(symbol, label, type) label,
    TK_WATCHED_IMPORTS(TK_LABEL)
#undef TK_LABEL
};

// What each import entry held before it was pointed at the watched version.
std::atomic<void*> originals[kImportCount];

template <typename First, typename... Rest>
bool firstIsNull(First first, Rest...) {
    if constexpr (std::is_pointer_v<First>) {
        return first == nullptr;
    } else {
        return false;
    }
}

template <std::size_t Index, typename Function>
struct Watched;

template <std::size_t Index, typename Result, typename... Arguments>
struct Watched<Index, Result (*)(Arguments...)> {
    // Releasing nothing is no call at all (free(nullptr), delete of null).
    static constexpr bool kReleases =
        std::is_same_v<Result (*)(Arguments...), ReleaseFunction> ||
        std::is_same_v<Result (*)(Arguments...), SizedReleaseFunction>;

    static Result call(Arguments... arguments) {
        if (!kReleases || !firstIsNull(arguments...)) {
            noteRealtimeCall(kLabels[Index]);
        }
        const auto real = reinterpret_cast<Result (*)(Arguments...)>(
            originals[Index].load(std::memory_order_relaxed));
        return real(arguments...);
    }
};

struct WatchedImport {
    const char* symbol;
    void* watched;
};

const WatchedImport kImports[] = {
#define TK_IMPORT(symbol, label, type)                                                             \
    {#symbol, reinterpret_cast<void*>(&Watched<index_##symbol, type>::call)},
    TK_WATCHED_IMPORTS(TK_IMPORT)
#undef TK_IMPORT
};

// Points one import entry at the watched version. An entry that already
// holds it (the module was watched before) stays; a second import of the
// same name bound elsewhere (another runtime) is left alone, since the
// watched version can forward to only one.
void watchEntry(std::size_t index, ULONG_PTR* entry) {
    void* current = reinterpret_cast<void*>(*entry);
    if (current == kImports[index].watched) {
        return;
    }
    void* expected = nullptr;
    if (!originals[index].compare_exchange_strong(expected, current) && expected != current) {
        return;
    }
    // Writable for the moment, keeping execute where a linker put the table
    // into a code section.
    MEMORY_BASIC_INFORMATION page{};
    if (VirtualQuery(entry, &page, sizeof page) == 0) {
        return;
    }
    constexpr DWORD kExecutable =
        PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const DWORD writable =
        (page.Protect & kExecutable) != 0 ? PAGE_EXECUTE_READWRITE : PAGE_READWRITE;
    DWORD previous = 0;
    if (VirtualProtect(entry, sizeof *entry, writable, &previous)) {
        *entry = reinterpret_cast<ULONG_PTR>(kImports[index].watched);
        VirtualProtect(entry, sizeof *entry, previous, &previous);
    }
}

} // namespace

bool interposerAvailable() {
    return true;
}

void watchModule(const hosting::PluginModule& module) {
    auto* base = static_cast<unsigned char*>(module.nativeHandle());
    if (base == nullptr) {
        return;
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) {
        return;
    }
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (headers->Signature != IMAGE_NT_SIGNATURE ||
        headers->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC ||
        headers->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) {
        return;
    }
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return;
    }
    for (auto* library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        // The names are in the lookup table; without one the bound table has
        // already replaced them by addresses.
        if (library->OriginalFirstThunk == 0) {
            continue;
        }
        const auto* names =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* name = reinterpret_cast<const char*>(byName->Name);
            for (std::size_t index = 0; index < kImportCount; ++index) {
                if (std::strcmp(name, kImports[index].symbol) == 0) {
                    watchEntry(index, &entries->u1.Function);
                    break;
                }
            }
        }
    }
}

} // namespace tarvokin::validate
