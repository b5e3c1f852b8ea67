#include "tools/validate_interposer.h"

#include <atomic>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define TK_VALIDATE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TK_VALIDATE_SANITIZED 1
#endif

#if defined(__linux__) && !defined(TK_VALIDATE_SANITIZED)
#define TK_VALIDATE_INTERPOSE 1
#endif

#if defined(TK_VALIDATE_INTERPOSE)
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <malloc.h>
#include <new>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#endif

namespace tarvokin::validate {

#if defined(TK_VALIDATE_INTERPOSE)
bool interposerAvailable() {
    return true;
}
#else
bool interposerAvailable() {
    return false;
}
#endif

// Interposition by symbol name covers every module at once.
void watchModule(const hosting::PluginModule& /*module*/) {}

} // namespace tarvokin::validate

#if defined(TK_VALIDATE_INTERPOSE)

// The C library's allocator under its own names, so that forwarding needs no
// symbol lookup.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void __libc_free(void* pointer);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

using tarvokin::validate::noteRealtimeCall;

// The next definition of a function after this executable's: looked up at
// start-up (resolveAll), before any watch is armed, so dlsym's own allocations
// are never noted; looked up on first use if something calls earlier.
void* resolve(std::atomic<void*>& slot, const char* name) {
    void* function = slot.load(std::memory_order_relaxed);
    if (function == nullptr) {
        function = dlsym(RTLD_NEXT, name);
        slot.store(function, std::memory_order_relaxed);
    }
    return function;
}

// Every forwarded function, for the slots and the start-up lookup.
#define TK_FORWARDED(X)                                                                            \
    X(pthread_mutex_lock)                                                                          \
    X(pthread_mutex_trylock)                                                                       \
    X(pthread_mutex_timedlock)                                                                     \
    X(pthread_rwlock_rdlock)                                                                       \
    X(pthread_rwlock_wrlock)                                                                       \
    X(pthread_spin_lock)                                                                           \
    X(pthread_cond_wait)                                                                           \
    X(pthread_cond_timedwait)                                                                      \
    X(sem_wait)                                                                                    \
    X(sem_post)                                                                                    \
    X(write)                                                                                       \
    X(read)                                                                                        \
    X(nanosleep)                                                                                   \
    X(clock_nanosleep)                                                                             \
    X(usleep)                                                                                      \
    X(sleep)                                                                                       \
    X(sched_yield)                                                                                 \
    X(poll)                                                                                        \
    X(mmap)                                                                                        \
    X(munmap)                                                                                      \
    X(open)                                                                                        \
    X(close)                                                                                       \
    X(puts)                                                                                        \
    X(fwrite)

#define TK_SLOT(name) std::atomic<void*> real_##name{nullptr};
TK_FORWARDED(TK_SLOT)
#undef TK_SLOT

#define TK_NEXT(name)                                                                              \
    const auto real = reinterpret_cast<decltype(&::name)>(resolve(real_##name, #name))

void* allocateAligned(std::size_t alignment, std::size_t size) {
    return __libc_memalign(alignment, size);
}

} // namespace

#define TK_EXPORTED extern "C" __attribute__((visibility("default")))

TK_EXPORTED void* malloc(std::size_t size) noexcept {
    noteRealtimeCall("malloc");
    return __libc_malloc(size);
}
TK_EXPORTED void* calloc(std::size_t count, std::size_t size) noexcept {
    noteRealtimeCall("calloc");
    return __libc_calloc(count, size);
}
TK_EXPORTED void* realloc(void* pointer, std::size_t size) noexcept {
    noteRealtimeCall("realloc");
    return __libc_realloc(pointer, size);
}
TK_EXPORTED void free(void* pointer) noexcept {
    if (pointer != nullptr) {
        noteRealtimeCall("free");
    }
    __libc_free(pointer);
}
TK_EXPORTED void* memalign(std::size_t alignment, std::size_t size) noexcept {
    noteRealtimeCall("memalign");
    return allocateAligned(alignment, size);
}
TK_EXPORTED void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    noteRealtimeCall("aligned_alloc");
    return allocateAligned(alignment, size);
}
TK_EXPORTED int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    noteRealtimeCall("posix_memalign");
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return 22; // EINVAL
    }
    void* pointer = allocateAligned(alignment, size);
    if (pointer == nullptr) {
        return 12; // ENOMEM
    }
    *result = pointer;
    return 0;
}

// Global operator new and delete, replaced so that they are named as such.
namespace {
void* allocateOrThrow(const char* name, std::size_t size, std::size_t alignment = 0) {
    noteRealtimeCall(name);
    void* pointer = alignment > alignof(std::max_align_t)
                        ? allocateAligned(alignment, size == 0 ? 1 : size)
                        : __libc_malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return pointer;
}
void release(void* pointer) {
    if (pointer != nullptr) {
        noteRealtimeCall("operator delete");
    }
    __libc_free(pointer);
}
} // namespace

__attribute__((visibility("default"))) void* operator new(std::size_t size) {
    return allocateOrThrow("operator new", size);
}
__attribute__((visibility("default"))) void* operator new[](std::size_t size) {
    return allocateOrThrow("operator new[]", size);
}
__attribute__((visibility("default"))) void* operator new(std::size_t size,
                                                          std::align_val_t alignment) {
    return allocateOrThrow("operator new", size, static_cast<std::size_t>(alignment));
}
__attribute__((visibility("default"))) void* operator new[](std::size_t size,
                                                            std::align_val_t alignment) {
    return allocateOrThrow("operator new[]", size, static_cast<std::size_t>(alignment));
}
__attribute__((visibility("default"))) void* operator new(std::size_t size,
                                                          const std::nothrow_t&) noexcept {
    noteRealtimeCall("operator new");
    return __libc_malloc(size == 0 ? 1 : size);
}
__attribute__((visibility("default"))) void* operator new[](std::size_t size,
                                                            const std::nothrow_t&) noexcept {
    noteRealtimeCall("operator new[]");
    return __libc_malloc(size == 0 ? 1 : size);
}
__attribute__((visibility("default"))) void operator delete(void* pointer) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete[](void* pointer) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete(void* pointer,
                                                            std::align_val_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete[](void* pointer,
                                                              std::align_val_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete(void* pointer, std::size_t,
                                                            std::align_val_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete[](void* pointer, std::size_t,
                                                              std::align_val_t) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete(void* pointer,
                                                            const std::nothrow_t&) noexcept {
    release(pointer);
}
__attribute__((visibility("default"))) void operator delete[](void* pointer,
                                                              const std::nothrow_t&) noexcept {
    release(pointer);
}

// Locks and waits.
TK_EXPORTED int pthread_mutex_lock(pthread_mutex_t* mutex) noexcept {
    TK_NEXT(pthread_mutex_lock);
    noteRealtimeCall("pthread_mutex_lock");
    return real(mutex);
}
TK_EXPORTED int pthread_mutex_trylock(pthread_mutex_t* mutex) noexcept {
    TK_NEXT(pthread_mutex_trylock);
    noteRealtimeCall("pthread_mutex_trylock");
    return real(mutex);
}
TK_EXPORTED int pthread_mutex_timedlock(pthread_mutex_t* mutex, const timespec* until) noexcept {
    TK_NEXT(pthread_mutex_timedlock);
    noteRealtimeCall("pthread_mutex_timedlock");
    return real(mutex, until);
}
TK_EXPORTED int pthread_rwlock_rdlock(pthread_rwlock_t* lock) noexcept {
    TK_NEXT(pthread_rwlock_rdlock);
    noteRealtimeCall("pthread_rwlock_rdlock");
    return real(lock);
}
TK_EXPORTED int pthread_rwlock_wrlock(pthread_rwlock_t* lock) noexcept {
    TK_NEXT(pthread_rwlock_wrlock);
    noteRealtimeCall("pthread_rwlock_wrlock");
    return real(lock);
}
TK_EXPORTED int pthread_spin_lock(pthread_spinlock_t* lock) noexcept {
    TK_NEXT(pthread_spin_lock);
    noteRealtimeCall("pthread_spin_lock");
    return real(lock);
}
TK_EXPORTED int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex) {
    TK_NEXT(pthread_cond_wait);
    noteRealtimeCall("pthread_cond_wait");
    return real(condition, mutex);
}
TK_EXPORTED int pthread_cond_timedwait(pthread_cond_t* condition, pthread_mutex_t* mutex,
                                       const timespec* until) {
    TK_NEXT(pthread_cond_timedwait);
    noteRealtimeCall("pthread_cond_timedwait");
    return real(condition, mutex, until);
}
TK_EXPORTED int sem_wait(sem_t* semaphore) {
    TK_NEXT(sem_wait);
    noteRealtimeCall("sem_wait");
    return real(semaphore);
}
TK_EXPORTED int sem_post(sem_t* semaphore) noexcept {
    TK_NEXT(sem_post);
    noteRealtimeCall("sem_post");
    return real(semaphore);
}

// System-call wrappers a plug-in might reach for on the audio thread.
TK_EXPORTED ssize_t write(int fd, const void* data, std::size_t size) {
    TK_NEXT(write);
    noteRealtimeCall("write");
    return real(fd, data, size);
}
TK_EXPORTED ssize_t read(int fd, void* data, std::size_t size) {
    TK_NEXT(read);
    noteRealtimeCall("read");
    return real(fd, data, size);
}
TK_EXPORTED int nanosleep(const timespec* duration, timespec* remaining) {
    TK_NEXT(nanosleep);
    noteRealtimeCall("nanosleep");
    return real(duration, remaining);
}
TK_EXPORTED int clock_nanosleep(clockid_t clock, int flags, const timespec* duration,
                                timespec* remaining) {
    TK_NEXT(clock_nanosleep);
    noteRealtimeCall("clock_nanosleep");
    return real(clock, flags, duration, remaining);
}
TK_EXPORTED int usleep(useconds_t microseconds) {
    TK_NEXT(usleep);
    noteRealtimeCall("usleep");
    return real(microseconds);
}
TK_EXPORTED unsigned int sleep(unsigned int seconds) {
    TK_NEXT(sleep);
    noteRealtimeCall("sleep");
    return real(seconds);
}
TK_EXPORTED int sched_yield() noexcept {
    TK_NEXT(sched_yield);
    noteRealtimeCall("sched_yield");
    return real();
}
TK_EXPORTED int poll(pollfd* fds, nfds_t count, int timeout) {
    TK_NEXT(poll);
    noteRealtimeCall("poll");
    return real(fds, count, timeout);
}
TK_EXPORTED void* mmap(void* address, std::size_t length, int protection, int flags, int fd,
                       off_t offset) noexcept {
    TK_NEXT(mmap);
    noteRealtimeCall("mmap");
    return real(address, length, protection, flags, fd, offset);
}
TK_EXPORTED int munmap(void* address, std::size_t length) noexcept {
    TK_NEXT(munmap);
    noteRealtimeCall("munmap");
    return real(address, length);
}
TK_EXPORTED int open(const char* path, int flags, ...) {
    TK_NEXT(open);
    noteRealtimeCall("open");
    mode_t mode = 0;
    if ((flags & (O_CREAT | O_TMPFILE)) != 0) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, unsigned int));
        va_end(arguments);
    }
    return real(path, flags, mode);
}
TK_EXPORTED int close(int fd) {
    TK_NEXT(close);
    noteRealtimeCall("close");
    return real(fd);
}
TK_EXPORTED int puts(const char* text) {
    TK_NEXT(puts);
    noteRealtimeCall("puts");
    return real(text);
}
TK_EXPORTED int printf(const char* format, ...) {
    noteRealtimeCall("printf");
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vprintf(format, arguments);
    va_end(arguments);
    return written;
}
TK_EXPORTED int fprintf(FILE* stream, const char* format, ...) {
    noteRealtimeCall("fprintf");
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vfprintf(stream, format, arguments);
    va_end(arguments);
    return written;
}
TK_EXPORTED std::size_t fwrite(const void* data, std::size_t size, std::size_t count,
                               FILE* stream) {
    TK_NEXT(fwrite);
    noteRealtimeCall("fwrite");
    return real(data, size, count, stream);
}

namespace {
__attribute__((constructor(101))) void resolveAll() {
#define TK_RESOLVE(name) resolve(real_##name, #name);
    TK_FORWARDED(TK_RESOLVE)
#undef TK_RESOLVE
}
} // namespace

#endif
