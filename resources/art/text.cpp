#include "resources/art/text.h"

#include <cairo-ft.h>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include <stdexcept>

namespace {

const char* const kFamily = "Liberation Sans";

// One FreeType instance for the life of the program: cairo's font cache may outlive
// any object of ours.
FT_Library freetypeLibrary() {
    static FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0)
            throw std::runtime_error("FreeType failed to start");
        // The classic TrueType interpreter runs the font's own instructions in both
        // directions, which keeps stems of small print on whole pixels.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
        FT_Property_Set(created, "truetype", "interpreter-version", &interpreter);
        return created;
    }();
    return library;
}

const cairo_user_data_key_t kFaceKey{};

void releaseFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

// Finds the font file of the family in the given style, refusing any substitute, and
// wraps it for cairo; the FreeType face lives as long as cairo keeps the font face.
cairo_font_face_t* openFace(FcConfig* config, const char* style) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFamily));
    FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    const bool found = match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                       std::string(reinterpret_cast<char*>(family)) == kFamily &&
                       FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    FT_Face face = nullptr;
    if (found) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        if (FT_New_Face(freetypeLibrary(), reinterpret_cast<char*>(file), index, &face) != 0)
            face = nullptr;
    }
    if (match)
        FcPatternDestroy(match);
    if (!face)
        throw std::runtime_error(std::string("font not found: ") + kFamily + " " + style +
                                 " (install fonts-liberation)");
    cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_font_face_set_user_data(fontFace, &kFaceKey, face, releaseFace);
    return fontFace;
}

void selectFont(cairo_t* cr, cairo_font_face_t* face, double size) {
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    // Full hinting with whole-pixel advances: crisp stems at label sizes.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

} // namespace

PanelFonts::PanelFonts() {
    // A private font configuration, released once the two files are open.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        throw std::runtime_error("fontconfig failed to load its configuration");
    try {
        regular_ = openFace(config, "Regular");
        bold_ = openFace(config, "Bold");
    } catch (...) {
        cairo_font_face_destroy(regular_);
        FcConfigDestroy(config);
        throw;
    }
    FcConfigDestroy(config);
}

PanelFonts::~PanelFonts() {
    cairo_font_face_destroy(regular_);
    cairo_font_face_destroy(bold_);
}

double textWidth(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text) {
    cairo_save(cr);
    selectFont(cr, face, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_restore(cr);
    return extents.x_advance;
}

void drawText(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text, double x,
              double y, Align align) {
    const double width = textWidth(cr, face, size, text);
    double left = x;
    if (align == Align::Centre)
        left = x - width / 2;
    else if (align == Align::Right)
        left = x - width;
    cairo_save(cr);
    selectFont(cr, face, size);
    cairo_move_to(cr, std::round(left), std::round(y));
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

void drawTextUpwards(cairo_t* cr, cairo_font_face_t* face, double size, const std::string& text,
                     int x, int y) {
    // Rotating the finished pixels by a quarter turn keeps the hinted glyphs intact; glyphs
    // rendered at an angle come out smeared at this size.
    const int width = static_cast<int>(std::ceil(textWidth(cr, face, size, text)));
    const int height = static_cast<int>(std::ceil(size * 1.5));
    const int baseline = static_cast<int>(std::ceil(size * 1.1));
    cairo_surface_t* upright = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* textCr = cairo_create(upright);
    drawText(textCr, face, size, text, 0, baseline, Align::Left);
    cairo_destroy(textCr);

    cairo_save(cr);
    cairo_translate(cr, x - baseline, y + width / 2);
    cairo_rotate(cr, -M_PI / 2);
    cairo_pattern_t* mask = cairo_pattern_create_for_surface(upright);
    cairo_pattern_set_filter(mask, CAIRO_FILTER_NEAREST);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(mask);
    cairo_restore(cr);
    cairo_surface_destroy(upright);
}
