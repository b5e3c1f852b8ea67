#include "gui/gui_types.h"

#include <algorithm>

CRect CRect::intersected(const CRect& other) const {
    CRect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
    if (r.isEmpty()) {
        return {};
    }
    return r;
}

CRect CRect::united(const CRect& other) const {
    if (isEmpty()) {
        return other;
    }
    if (other.isEmpty()) {
        return *this;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

CFontDesc standardFont(int font) {
    // Heights in pixels; Arial throughout, the system font bold.
    static constexpr CFontDesc kTable[kNumStandardFonts] = {
        {"Arial", 12, true}, // kSystemFont
        {"Arial", 18, false}, {"Arial", 14, false},
        {"Arial", 12, false}, {"Arial", 11, false}, // kNormalFontSmall
        {"Arial", 10, false},                       // kNormalFontSmaller
        {"Arial", 9, false},  {"Symbol", 13, false},
    };
    if (font < 0 || font >= kNumStandardFonts) {
        return kTable[kSystemFont];
    }
    return kTable[font];
}
