// Single values shared between the host's threads without a lock: every read
// and write of such a field goes through these, so each is one whole value.
#pragma once

#include <atomic>

template <typename T>
inline T loadRelaxed(const T& field) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

template <typename T>
inline void storeRelaxed(T& field, T value) {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}
