#pragma once

#include <cairo.h>

// The panel's colours: a dark charcoal face, light grey print, green and blue accents.
namespace palette {

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}

inline void set(cairo_t* cr, Colour c, double alpha = 1.0) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

constexpr Colour kFaceTop = rgb(58, 61, 66);
constexpr Colour kFaceBottom = rgb(40, 42, 46);
constexpr Colour kBevelLight = rgb(88, 92, 98);
constexpr Colour kBevelDark = rgb(18, 19, 21);
constexpr Colour kPlate = rgb(31, 33, 36);
constexpr Colour kPlateEdge = rgb(20, 21, 23);
constexpr Colour kPlateHighlight = rgb(70, 74, 80);

constexpr Colour kWell = rgb(21, 22, 24);
constexpr Colour kGridLine = rgb(56, 59, 64);
constexpr Colour kGuide = rgb(35, 37, 40);
constexpr Colour kGuideMajor = rgb(43, 46, 50);

constexpr Colour kLabel = rgb(186, 190, 196);
constexpr Colour kLabelDim = rgb(120, 125, 132);
constexpr Colour kRule = rgb(64, 68, 73);
constexpr Colour kLogo = rgb(230, 232, 235);

constexpr Colour kGreen = rgb(172, 210, 57); // handle of a step inside the step count
constexpr Colour kGreenDark = rgb(48, 64, 26);
constexpr Colour kGreenDarkRim = rgb(28, 38, 16);
constexpr Colour kGrey = rgb(128, 128, 128); // handle of a step outside the step count

constexpr Colour kBlue = rgb(52, 118, 196);
constexpr Colour kBlueLight = rgb(104, 164, 232);
constexpr Colour kBlueDeep = rgb(26, 66, 124);
constexpr Colour kBlueRim = rgb(12, 30, 60);
constexpr Colour kSlot = rgb(12, 13, 15);

constexpr Colour kBlack = rgb(0, 0, 0);

} // namespace palette
