// Small value types shared by the GUI classes and their backends: points,
// rectangles, colours, fonts, mouse buttons and key records.
#pragma once

#include <cstdint>

// A point in frame pixels: x to the right, y downwards.
struct CPoint {
    int x = 0;
    int y = 0;
};

// A rectangle in frame pixels; right and bottom are exclusive.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool pointInside(CPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // The overlap of two rectangles; empty when they do not meet.
    CRect intersected(const CRect& other) const;
    // The smallest rectangle holding both (an empty one counts as nothing).
    CRect united(const CRect& other) const;
    CRect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

inline bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Colours are red, green, blue, alpha bytes.
struct CColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
};

inline bool operator==(const CColor& a, const CColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};

// Mouse buttons and modifier keys, as a bit set.
enum CButtonState : long {
    kLButton = 1 << 0,
    kMButton = 1 << 1,
    kRButton = 1 << 2,
    kShift = 1 << 3,
    kControl = 1 << 4,
    kAlt = 1 << 5,
    kApple = 1 << 6,
};

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

// A font as the drawing backends understand it: family name, character
// height in pixels, bold or normal.
struct CFontDesc {
    const char* family = "Arial";
    int height = 12;
    bool bold = false;
};

// The standard font table; controls select fonts by these numbers.
enum CFont {
    kSystemFont = 0,
    kNormalFontVeryBig,
    kNormalFontBig,
    kNormalFont,
    kNormalFontSmall,
    kNormalFontSmaller,
    kNormalFontVerySmall,
    kSymbolFont,
    kNumStandardFonts
};

// The description of a standard font; an unknown number gives kSystemFont's.
CFontDesc standardFont(int font);

// A key as the host reports it: a character, a virtual key code and the
// modifier bits. The editor copies its key record into this one.
struct CKeyCode {
    std::int32_t character = 0;
    std::uint8_t virt = 0;
    std::uint8_t modifier = 0;
};
