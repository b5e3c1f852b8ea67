#pragma once

#include <cairo.h>
#include <string>

// Liberation Sans (metric-compatible with Arial), loaded from its font file so that no
// font substitution or desktop hinting setting changes the pictures.
class PanelFonts {
public:
    PanelFonts(); // throws std::runtime_error when Liberation Sans is not installed
    ~PanelFonts();
    PanelFonts(const PanelFonts&) = delete;
    PanelFonts& operator=(const PanelFonts&) = delete;

    cairo_font_face_t* regular() const { return regular_; }
    cairo_font_face_t* bold() const { return bold_; }

private:
    cairo_font_face_t* regular_ = nullptr;
    cairo_font_face_t* bold_ = nullptr;
};

enum class Align { Left, Centre, Right };

// Draws one line of text with its baseline at y; x is its left edge, centre or right edge.
// The start is snapped to a whole pixel so small print stays crisp.
void drawText(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text, double x,
              double y, Align align);

// Draws one line of text reading upwards, centred on y, with its baseline on the column x
// (the glyphs stand to the left of x). Uses the current source colour.
void drawTextUpwards(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text,
                     int x, int y);

// The advance width of the text in pixels.
double textWidth(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text);
