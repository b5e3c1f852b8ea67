#include "engine/parameter_conversions.h"

#include <array>

std::int32_t selectorFromHost(float value, std::int32_t top) {
    const double scaled = static_cast<double>(value) * top;
    if (!(scaled > 0.0)) {
        return 0; // NaN, zero and negative values
    }
    if (scaled >= top) {
        return top;
    }
    return static_cast<std::int32_t>(scaled);
}

float hostFromSelector(std::int32_t selector, std::int32_t top) {
    return static_cast<float>(static_cast<double>(selector) / top);
}

std::int32_t switchFromHost(float value) {
    // trunc(value + 0.5) is 1 or more exactly when value + 0.5 >= 1; NaN compares false.
    return static_cast<double>(value) + 0.5 >= 1.0 ? 1 : 0;
}

float complementOfUnit(float value) {
    return static_cast<float>(1.0 - static_cast<double>(value));
}

std::int32_t displayPercent(float stored) {
    constexpr double kLowest = -9999999.0;
    constexpr double kHighest = 99999999.0;
    const double percent = static_cast<double>(stored) * 100.0;
    if (percent != percent) {
        return 0;
    }
    if (percent <= kLowest) {
        return static_cast<std::int32_t>(kLowest);
    }
    if (percent >= kHighest) {
        return static_cast<std::int32_t>(kHighest);
    }
    return static_cast<std::int32_t>(percent);
}

const char* noteValueText(std::int32_t noteValue) {
    static constexpr std::array<const char*, kTopNoteValue + 1> kTexts = {
        "1/4", "1/8", "1/16", "1/32", "1/4T", "1/8T", "1/16T", "1/32T"};
    if (noteValue < 0 || noteValue > kTopNoteValue) {
        return nullptr;
    }
    return kTexts[static_cast<std::size_t>(noteValue)];
}
