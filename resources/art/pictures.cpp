#include "resources/art/pictures.h"

#include "resources/art/palette.h"
#include "resources/art/panel_geometry.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

using namespace palette;
using panel::Rect;

namespace {

constexpr double kLabelSize = 9.0;
constexpr double kSmallSize = 7.5;
constexpr int kLegatoDotRadius = 4;

void fillRect(cairo_t* cr, double x, double y, double w, double h, Colour c, double alpha = 1.0) {
    set(cr, c, alpha);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Runs draw with the origin moved to (x, y) and drawing clipped to w x h there.
template <typename Draw>
void at(cairo_t* cr, double x, double y, double w, double h, Draw draw) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    draw();
    cairo_restore(cr);
}

struct Context {
    explicit Context(cairo_surface_t* surface) : cr(cairo_create(surface)) {}
    ~Context() { cairo_destroy(cr); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    cairo_t* cr;
};

// Panel-sized face: gradient, outer bevel and the two inset plates the controls sit on.
// Inside the plates it is flat, so control pictures cut from it match wherever they go.
constexpr Rect kStepPlate{10, 36, 300, 203};
constexpr Rect kMasterPlate{304, 8, 432, 203};

void drawPlate(cairo_t* cr, const Rect& r) {
    // A one-pixel highlight below and a dark edge make the plate look recessed.
    roundedRect(cr, r.left + 0.5, r.top + 1.5, r.width() - 1, r.height() - 1, 4);
    set(cr, kPlateHighlight, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    roundedRect(cr, r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1, 4);
    set(cr, kPlate);
    cairo_fill_preserve(cr);
    set(cr, kPlateEdge);
    cairo_stroke(cr);
}

void drawFace(cairo_t* cr) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, panel::kHeight);
    cairo_pattern_add_color_stop_rgb(gradient, 0, kFaceTop.r, kFaceTop.g, kFaceTop.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, kFaceBottom.r, kFaceBottom.g, kFaceBottom.b);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);

    fillRect(cr, 0, 0, panel::kWidth, 1, kBevelLight);
    fillRect(cr, 0, 0, 1, panel::kHeight, kBevelLight, 0.5);
    fillRect(cr, 0, panel::kHeight - 1, panel::kWidth, 1, kBevelDark);
    fillRect(cr, panel::kWidth - 1, 0, 1, panel::kHeight, kBevelDark);

    drawPlate(cr, kStepPlate);
    drawPlate(cr, kMasterPlate);
}

// Handle top at value v of a step slider, relative to the slider's top.
double stepHandleTop(double v) {
    return (panel::kStepHandleTopAtZero - panel::kGridTop) -
           v * (panel::kStepHandleTopAtZero - panel::kStepHandleTopAtOne);
}

// One column of the step grid (15 x 97): the grid line in its first pixel column, then a dark
// well with faint guides where the handle's centre sits at 0, 25, 50, 75 and 100 %.
void drawGridColumn(cairo_t* cr) {
    const int height = panel::kGridBottom - panel::kGridTop;
    fillRect(cr, 0, 0, panel::kColumnWidth, height, kWell);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double centre = stepHandleTop(quarter / 4.0) + panel::kStepHandleHeight / 2.0;
        const int row = static_cast<int>(std::floor(centre));
        fillRect(cr, 1, row, panel::kColumnWidth - 1, 1, quarter == 2 ? kGuideMajor : kGuide);
    }
    fillRect(cr, 0, 0, 1, height, kGridLine);
}

// The large sliders' slot (7 x 100): a dark groove with a blue border.
void drawSlot(cairo_t* cr) {
    const double w = panel::kSlotWidth;
    const double h = panel::kSlotHeight;
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 2.5);
    set(cr, kSlot);
    cairo_fill_preserve(cr);
    set(cr, kBlue);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    fillRect(cr, 2, 3, 1, h - 6, kBlack, 0.6); // inner shadow on the left wall
}

// A legato dot, centred in a 15 x 15 switch; drawn over whatever lies beneath.
void drawLegatoDot(cairo_t* cr, bool on) {
    const double c = panel::kSwitchSize / 2.0 + 0.5; // centred on the step handles above
    if (on) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(c, c, 2, c, c, 7.5);
        cairo_pattern_add_color_stop_rgba(glow, 0, kGreen.r, kGreen.g, kGreen.b, 0.45);
        cairo_pattern_add_color_stop_rgba(glow, 1, kGreen.r, kGreen.g, kGreen.b, 0.0);
        cairo_set_source(cr, glow);
        cairo_paint(cr);
        cairo_pattern_destroy(glow);
    }
    cairo_arc(cr, c, c, kLegatoDotRadius, 0, 2 * M_PI);
    set(cr, on ? kGreen : kGreenDark);
    cairo_fill_preserve(cr);
    set(cr, on ? rgb(120, 156, 34) : kGreenDarkRim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A small specular spot sells the dot as a lamp.
    cairo_arc(cr, c - 1.3, c - 1.3, 1.3, 0, 2 * M_PI);
    set(cr, on ? rgb(226, 242, 170) : rgb(70, 90, 42), on ? 0.9 : 0.7);
    cairo_fill(cr);
}

// The Declick lamp bar, in a 31 x 15 switch.
void drawDeclickBar(cairo_t* cr, bool on) {
    const double x = 3, y = 4, w = 25, h = 7;
    if (on) {
        cairo_pattern_t* glow = cairo_pattern_create_linear(0, 0, 0, panel::kSwitchSize);
        cairo_pattern_add_color_stop_rgba(glow, 0, kGreen.r, kGreen.g, kGreen.b, 0.0);
        cairo_pattern_add_color_stop_rgba(glow, 0.5, kGreen.r, kGreen.g, kGreen.b, 0.3);
        cairo_pattern_add_color_stop_rgba(glow, 1, kGreen.r, kGreen.g, kGreen.b, 0.0);
        cairo_set_source(cr, glow);
        roundedRect(cr, 1, 1, 29, 13, 4);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 2.5);
    set(cr, on ? kGreen : kGreenDark);
    cairo_fill_preserve(cr);
    set(cr, on ? rgb(120, 156, 34) : kGreenDarkRim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    fillRect(cr, x + 2, y + 1.5, w - 4, 1, on ? rgb(216, 236, 150) : rgb(66, 86, 40), 0.8);
}

// The large sliders' knob (17 x 22): a blue oval with a light line across its centre.
void drawKnob(cairo_t* cr) {
    const double w = panel::kKnobWidth;
    const double h = panel::kKnobHeight;
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, (w - 1) / 2, (h - 1) / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(body, 0, kBlueLight.r, kBlueLight.g, kBlueLight.b);
    cairo_pattern_add_color_stop_rgb(body, 0.5, kBlue.r, kBlue.g, kBlue.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kBlueDeep.r, kBlueDeep.g, kBlueDeep.b);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    set(cr, kBlueRim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Value marker across the middle, with a shadow below it.
    fillRect(cr, 3, std::floor(h / 2) - 1, w - 6, 1, rgb(222, 236, 250));
    fillRect(cr, 3, std::floor(h / 2), w - 6, 1, kBlueRim, 0.7);
}

void drawGrid(cairo_t* cr) {
    using namespace panel;
    // Frame around the columns: above, below and the closing line on the right.
    fillRect(cr, kGridLeft, kGridTop - 1, kGridRight - kGridLeft + 1, 1, kGridLine);
    fillRect(cr, kGridLeft, kGridBottom, kGridRight - kGridLeft + 1, 1, kGridLine);
    fillRect(cr, kGridRight, kGridTop, 1, kGridBottom - kGridTop, kGridLine);
    for (int i = 0; i < kSteps; ++i) {
        const Rect r = stepSlider(i);
        at(cr, r.left, r.top, r.width(), r.height(), [&] { drawGridColumn(cr); });
    }
}

void drawStepSection(cairo_t* cr, const PanelFonts& fonts) {
    using namespace panel;
    for (int i = 0; i < kSteps; ++i) {
        const Rect r = stepSlider(i);
        const double centre = r.left + kStepHandleOffsetX + kStepHandleWidth / 2.0;
        set(cr, i % 4 == 0 ? kLabel : kLabelDim);
        drawText(cr, fonts.regular(), kSmallSize, std::to_string(i + 1), centre, 159,
                 Align::Centre);
    }
    // Beat brackets above the grid: one per group of four steps.
    for (int group = 0; group < kSteps / 4; ++group) {
        const int left = stepSlider(4 * group).left + 2;
        const int right = stepSlider(4 * group + 3).right - 1;
        fillRect(cr, left, 45, right - left, 1, kRule);
        fillRect(cr, left, 45, 1, 2, kRule);
        fillRect(cr, right - 1, 45, 1, 2, kRule);
    }
    for (int k = 0; k < kSteps; ++k) {
        const Rect r = legatoSwitch(k);
        at(cr, r.left, r.top, r.width(), r.height(), [&] { drawLegatoDot(cr, false); });
    }

    // "Legato" centred under the switches, with rules running out to the row's ends.
    const double middle = (kGridLeft + kGridRight) / 2.0;
    const double half = textWidth(cr, fonts.regular(), kLabelSize, "Legato") / 2 + 5;
    const int ruleRow = 191;
    fillRect(cr, kGridLeft + 1, ruleRow, middle - half - kGridLeft - 1, 1, kRule);
    fillRect(cr, middle + half, ruleRow, kGridRight - middle - half, 1, kRule);
    fillRect(cr, kGridLeft + 1, ruleRow - 3, 1, 3, kRule);
    fillRect(cr, kGridRight - 1, ruleRow - 3, 1, 3, kRule);
    set(cr, kLabel);
    drawText(cr, fonts.regular(), kLabelSize, "Legato", middle, 194, Align::Centre);

    // Probability scale along the grid's right edge.
    const double topCentre = kStepHandleTopAtOne + kStepHandleHeight / 2.0;
    const double bottomCentre = kStepHandleTopAtZero + kStepHandleHeight / 2.0;
    set(cr, kLabelDim);
    drawText(cr, fonts.regular(), kSmallSize, "100", kGridRight + 4, topCentre + 3, Align::Left);
    drawText(cr, fonts.regular(), kSmallSize, "0", kGridRight + 4, bottomCentre + 3, Align::Left);
    set(cr, kLabel);
    drawTextUpwards(cr, fonts.regular(), kLabelSize, "Probability", kGridRight + 20,
                    static_cast<int>((topCentre + bottomCentre) / 2));
}

// A recessed frame around a box that a control fills (value displays and menus).
void drawBoxFrame(cairo_t* cr, const Rect& r) {
    fillRect(cr, r.left - 1, r.top - 1, r.width() + 2, r.height() + 2, kPlateEdge);
    fillRect(cr, r.left - 1, r.bottom + 1, r.width() + 2, 1, kPlateHighlight, 0.8);
    fillRect(cr, r.left, r.top, r.width(), r.height(), kBlack);
}

// A small downward triangle beside a menu box: it opens a list.
void drawMenuArrow(cairo_t* cr, const Rect& r) {
    const double x = r.right + 3;
    const double y = r.top + (r.height() - 3) / 2.0;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 5, y);
    cairo_line_to(cr, x + 2.5, y + 3);
    cairo_close_path(cr);
    set(cr, kLabelDim);
    cairo_fill(cr);
}

void drawMasterSection(cairo_t* cr, const PanelFonts& fonts) {
    using namespace panel;
    const char* const sliderNames[kLargeSliders] = {"Duration", "Mix", "Output"};
    const double centreAtOne = kKnobTopAtOne + kKnobHeight / 2.0;
    const double centreAtZero = kKnobTopAtZero + kKnobHeight / 2.0;
    for (int j = 0; j < kLargeSliders; ++j) {
        const Rect slider = largeSlider(j);
        at(cr, slotLeft(j), slider.top, kSlotWidth, kSlotHeight, [&] { drawSlot(cr); });
        // Scale ticks either side, outside the slider's rectangle.
        for (int quarter = 0; quarter <= 4; ++quarter) {
            const double centre = centreAtZero - quarter / 4.0 * (centreAtZero - centreAtOne);
            const int row = static_cast<int>(std::floor(centre));
            const int length = quarter % 2 == 0 ? 3 : 2;
            const Colour colour = quarter % 2 == 0 ? kLabelDim : kRule;
            fillRect(cr, slider.left - 1 - length, row, length, 1, colour);
            fillRect(cr, slider.right + 1, row, length, 1, colour);
        }
        drawBoxFrame(cr, valueBox(j));
        set(cr, kLabel);
        drawText(cr, fonts.regular(), kLabelSize, sliderNames[j],
                 (slider.left + slider.right) / 2.0, 153, Align::Centre);
    }

    fillRect(cr, kMasterPlate.left + 8, 160, kMasterPlate.width() - 16, 1, kPlateEdge);
    fillRect(cr, kMasterPlate.left + 8, 161, kMasterPlate.width() - 16, 1, kPlateHighlight, 0.35);

    for (const Rect& menu : {kStepMenu, kNoteMenu}) {
        drawBoxFrame(cr, menu);
        drawMenuArrow(cr, menu);
    }
    at(cr, kDeclickSwitch.left, kDeclickSwitch.top, kDeclickSwitch.width(), kDeclickSwitch.height(),
       [&] { drawDeclickBar(cr, false); });
    set(cr, kLabel);
    const double labelBaseline = 192;
    drawText(cr, fonts.regular(), kLabelSize, "Step", (kStepMenu.left + kStepMenu.right) / 2.0,
             labelBaseline, Align::Centre);
    drawText(cr, fonts.regular(), kLabelSize, "Note", (kNoteMenu.left + kNoteMenu.right) / 2.0,
             labelBaseline, Align::Centre);
    drawText(cr, fonts.regular(), kLabelSize, "Declick",
             (kDeclickSwitch.left + kDeclickSwitch.right) / 2.0, labelBaseline, Align::Centre);
}

// The product logo: a little gate pattern in green beside the name.
void drawLogo(cairo_t* cr, const PanelFonts& fonts) {
    const int heights[] = {12, 5, 9, 12, 3, 7};
    const int baseline = 27;
    int x = 14;
    for (int h : heights) {
        fillRect(cr, x, baseline - h, 3, h, kGreen, h == 12 ? 1.0 : 0.75);
        x += 4;
    }
    set(cr, kLogo);
    drawText(cr, fonts.bold(), 17, "Tarvokin", x + 5, baseline, Align::Left);
}

Surface drawPanel(const PanelFonts& fonts) {
    Surface surface = makeSurface(panel::kWidth, panel::kHeight);
    Context c(surface.get());
    drawFace(c.cr);
    drawGrid(c.cr);
    drawStepSection(c.cr, fonts);
    drawMasterSection(c.cr, fonts);
    drawLogo(c.cr, fonts);
    return surface;
}

// A two-image switch strip: each image is the panel face at the switch's place with the
// switch drawn on it, off above and on below.
template <typename DrawSwitch>
Surface drawSwitchStrip(const Rect& place, DrawSwitch drawSwitch) {
    Surface surface = makeSurface(place.width(), 2 * place.height());
    Context c(surface.get());
    for (int image = 0; image < 2; ++image) {
        at(c.cr, 0, image * place.height(), place.width(), place.height(), [&] {
            cairo_save(c.cr);
            cairo_translate(c.cr, -place.left, -place.top);
            drawFace(c.cr);
            cairo_restore(c.cr);
            drawSwitch(c.cr, image == 1);
        });
    }
    return surface;
}

Surface drawSolid(int width, int height, Colour colour) {
    Surface surface = makeSurface(width, height);
    Context c(surface.get());
    set(c.cr, colour);
    cairo_paint(c.cr);
    return surface;
}

template <typename Draw>
Surface drawOnFace(int width, int height, double faceX, double faceY, Draw draw) {
    Surface surface = makeSurface(width, height);
    Context c(surface.get());
    cairo_save(c.cr);
    cairo_translate(c.cr, -faceX, -faceY);
    drawFace(c.cr);
    cairo_restore(c.cr);
    draw(c.cr);
    return surface;
}

// The knob, with every pixel it does not touch pure white (the transparent colour) and its
// soft edge blended over the panel where it rides, so no light fringe shows.
Surface drawKnobBitmap(cairo_surface_t* panelSurface) {
    using namespace panel;
    Surface shape(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kKnobWidth, kKnobHeight));
    {
        Context c(shape.get());
        drawKnob(c.cr);
    }
    Surface surface = makeSurface(kKnobWidth, kKnobHeight);
    Context c(surface.get());
    const Rect slider = largeSlider(0);
    const int rideTop = (kKnobTopAtOne + kKnobTopAtZero) / 2;
    cairo_set_source_surface(c.cr, panelSurface, -slider.left, -rideTop);
    cairo_paint(c.cr);
    cairo_set_source_surface(c.cr, shape.get(), 0, 0);
    cairo_paint(c.cr);
    cairo_surface_flush(shape.get());
    cairo_surface_flush(surface.get());
    const int shapeStride = cairo_image_surface_get_stride(shape.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* shapeData = cairo_image_surface_get_data(shape.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    for (int y = 0; y < kKnobHeight; ++y) {
        for (int x = 0; x < kKnobWidth; ++x) {
            const auto* shapePixel =
                reinterpret_cast<const std::uint32_t*>(shapeData + y * shapeStride) + x;
            auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride) + x;
            if ((*shapePixel >> 24) == 0)
                *pixel = 0xffffffffu;
            else if ((*pixel & 0xffffffu) == 0xffffffu)
                throw std::runtime_error("knob pixel would read as transparent");
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

} // namespace

Surface makeSurface(int width, int height) {
    return Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
}

PanelPictures drawPanelPictures(const PanelFonts& fonts) {
    using namespace panel;
    PanelPictures p;
    p.panel = drawPanel(fonts);
    p.knob = drawKnobBitmap(p.panel.get());
    p.declickSwitch = drawSwitchStrip(kDeclickSwitch, drawDeclickBar);
    p.gridColumn = drawOnFace(kColumnWidth, kGridBottom - kGridTop, 0, 0, drawGridColumn);
    p.activeHandle = drawSolid(kStepHandleWidth, kStepHandleHeight, kGreen);
    p.legatoSwitch = drawSwitchStrip(legatoSwitch(0), drawLegatoDot);
    p.slot = drawOnFace(kSlotWidth, kSlotHeight, slotLeft(0), largeSlider(0).top, drawSlot);
    p.inactiveHandle = drawSolid(kStepHandleWidth, kStepHandleHeight, kGrey);
    return p;
}

BmpImage toBmpImage(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    BmpImage image;
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::uint8_t* out = image.rgb.data();
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < image.width; ++x) {
            *out++ = static_cast<std::uint8_t>(row[x] >> 16);
            *out++ = static_cast<std::uint8_t>(row[x] >> 8);
            *out++ = static_cast<std::uint8_t>(row[x]);
        }
    }
    return image;
}
