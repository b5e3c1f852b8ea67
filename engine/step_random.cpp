#include "engine/step_random.h"

#include <cstdint>

#if defined(_WIN32)
#include <atomic>
#include <windows.h>
#endif

namespace StepRandom {
namespace {

#if defined(_WIN32)

// MinGW's thread_local is emulated: the first use on each thread allocates
// the variable's storage, so the first step draw on a new audio thread would
// call the allocator inside processReplacing. A system TLS slot needs no
// storage of its own: the 32-bit state lives in the slot's pointer value,
// kept XOR 1 so that a thread's fresh slot (0) reads as the start state 1.
// The slot is taken when the DLL loads, when one of the first 64 (kept in
// the thread's own block) is normally free; a process that has used those
// up gives a later index, for which the system allocates a per-thread table
// once, at a thread's first store.
class ThreadState {
public:
    ThreadState() : slot_(TlsAlloc()) {}
    ~ThreadState() {
        if (slot_ != TLS_OUT_OF_INDEXES) {
            TlsFree(slot_);
        }
    }
    ThreadState(const ThreadState&) = delete;
    ThreadState& operator=(const ThreadState&) = delete;

    std::uint32_t load() const {
        if (slot_ == TLS_OUT_OF_INDEXES) {
            return shared_.load(std::memory_order_relaxed);
        }
        const auto stored = reinterpret_cast<std::uintptr_t>(TlsGetValue(slot_));
        return static_cast<std::uint32_t>(stored) ^ 1u;
    }
    void store(std::uint32_t state) {
        if (slot_ == TLS_OUT_OF_INDEXES) {
            // No slot left in the process: one sequence shared by all threads.
            shared_.store(state, std::memory_order_relaxed);
            return;
        }
        TlsSetValue(slot_, reinterpret_cast<void*>(static_cast<std::uintptr_t>(state ^ 1u)));
    }

private:
    DWORD slot_;
    std::atomic<std::uint32_t> shared_{1};
};

ThreadState state;

std::uint32_t advance() {
    const std::uint32_t next = state.load() * 214013u + 2531011u; // wraps modulo 2^32
    state.store(next);
    return next;
}

#else

// Static TLS on ELF: a module loaded by the host then needs no lazy per-thread
// allocation at the first draw on an audio thread.
#if defined(__ELF__)
#define TK_STATIC_TLS __attribute__((tls_model("initial-exec")))
#else
#define TK_STATIC_TLS
#endif

thread_local std::uint32_t state TK_STATIC_TLS = 1;

std::uint32_t advance() {
    state = state * 214013u + 2531011u; // wraps modulo 2^32
    return state;
}

#endif

} // namespace

int draw() {
    return static_cast<int>((advance() >> 16) & 0x7FFFu);
}

} // namespace StepRandom
