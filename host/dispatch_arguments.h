// How the dispatcher reads its arguments: narrowing of pointer-sized values to
// int32, the float-to-integer conversion of opt, and the key record.
#pragma once

#include "host/vst_abi.h"

#include <cmath>
#include <cstdint>

namespace dispatch_arguments {

// A bool result as the host reads it.
inline VstIntPtr answer(bool result) {
    return result ? 1 : 0;
}

// Value arguments given to an int32 parameter keep their low 32 bits.
inline VstInt32 narrow(VstIntPtr value) {
    return static_cast<VstInt32>(value);
}

inline bool fitsInt32(VstIntPtr value) {
    return value >= INT32_MIN && value <= INT32_MAX;
}

// Truncates toward zero. NaN, infinities and values outside the int32 range
// have no integer to truncate to and give 0, so the conversion is always
// defined.
inline VstInt32 truncateOrZero(float value) {
    const double wide = value;
    if (!std::isfinite(wide) || wide <= -2147483649.0 || wide >= 2147483648.0) {
        return 0;
    }
    return static_cast<VstInt32>(wide);
}

// The key record of effEditKeyDown / effEditKeyUp: character from index, virt
// from the low 8 bits of value, modifier from the low 8 bits of opt truncated
// toward zero (see truncateOrZero for opt without an integer value).
inline VstKeyCode keyCode(VstInt32 index, VstIntPtr value, float opt) {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(static_cast<std::uintptr_t>(value) & 0xFFu);
    key.modifier =
        static_cast<unsigned char>(static_cast<std::uint32_t>(truncateOrZero(opt)) & 0xFFu);
    return key;
}

} // namespace dispatch_arguments
