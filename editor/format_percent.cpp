#include "editor/format_percent.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

void formatPercent(float value, char* text) {
    const double percent = std::trunc(static_cast<double>(value) * 100.0 + 0.5);
    std::int32_t shown = 0;
    if (percent >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        shown = std::numeric_limits<std::int32_t>::max();
    } else if (percent <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        shown = std::numeric_limits<std::int32_t>::min();
    } else if (!std::isnan(percent)) {
        shown = static_cast<std::int32_t>(percent);
    }
    std::snprintf(text, 12, "%d", static_cast<int>(shown));
}
