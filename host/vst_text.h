// Copying text into a host's buffer: at most maxLen characters, the rest of
// the first maxLen positions cleared, and a terminator at position maxLen, so
// the host's buffer holds maxLen + 1 bytes. A null buffer is left alone.
#pragma once

#include <cstddef>

inline void vstStrncpy(char* dst, const char* src, std::size_t maxLen) {
    if (dst == nullptr) {
        return;
    }
    std::size_t i = 0;
    if (src != nullptr) {
        for (; i < maxLen && src[i] != '\0'; ++i) {
            dst[i] = src[i];
        }
    }
    for (; i < maxLen; ++i) {
        dst[i] = '\0';
    }
    dst[maxLen] = '\0';
}

// Appends at most maxLen characters of src to the text in dst, keeping the
// whole text within maxLen characters and terminated at maxLen.
inline void vstStrncat(char* dst, const char* src, std::size_t maxLen) {
    if (dst == nullptr || src == nullptr) {
        return;
    }
    std::size_t length = 0;
    while (length < maxLen && dst[length] != '\0') {
        ++length;
    }
    for (std::size_t i = 0; length < maxLen && src[i] != '\0'; ++i, ++length) {
        dst[length] = src[i];
    }
    dst[length] = '\0';
    dst[maxLen] = '\0';
}
