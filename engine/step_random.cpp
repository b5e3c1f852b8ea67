#include "engine/step_random.h"

#include <cstdint>

namespace StepRandom {
namespace {

// Static TLS on ELF: a module loaded by the host then needs no lazy per-thread
// allocation at the first draw on an audio thread.
#if defined(__ELF__)
#define TK_STATIC_TLS __attribute__((tls_model("initial-exec")))
#else
#define TK_STATIC_TLS
#endif

thread_local std::uint32_t state TK_STATIC_TLS = 1;

} // namespace

int draw() {
    state = state * 214013u + 2531011u; // wraps modulo 2^32
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

} // namespace StepRandom
