#include "gui/offscreen_window.h"

#include "gui/cframe.h"

#include <algorithm>

OffscreenWindow* OffscreenWindow::of(const CFrame* frame) {
    return frame != nullptr ? dynamic_cast<OffscreenWindow*>(frame->getBackend()) : nullptr;
}

OffscreenWindow::OffscreenWindow(const CRect& size, FrameEventSink& sink) : sink(sink) {
    makeImage(size.width(), size.height());
}

OffscreenWindow::~OffscreenWindow() {
    surface.reset();
    cairo_destroy(cr);
    cairo_surface_destroy(image);
}

void OffscreenWindow::makeImage(int width, int height) {
    // A zero or negative size still gets a valid (1x1 at least) image.
    width = std::max(width, 1);
    height = std::max(height, 1);
    cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* nextCr = cairo_create(next);
    cairo_set_source_rgb(nextCr, 0, 0, 0);
    cairo_paint(nextCr);
    if (image != nullptr) {
        // Keep what was drawn where the sizes overlap.
        cairo_set_source_surface(nextCr, image, 0, 0);
        cairo_paint(nextCr);
        surface.reset();
        cairo_destroy(cr);
        cairo_surface_destroy(image);
    }
    image = next;
    cr = nextCr;
    surface = std::make_unique<CairoSurface>(cr);
}

DrawSurface& OffscreenWindow::beginDraw() {
    return *surface;
}

void OffscreenWindow::endDraw(const CRect& changed) {
    cairo_surface_flush(image);
    ++draws;
    lastArea = changed;
}

PointerState OffscreenWindow::readPointer() {
    if (pointerScript.empty()) {
        lastPointer.buttons = 0;
        return lastPointer;
    }
    lastPointer = pointerScript.front();
    pointerScript.pop_front();
    return lastPointer;
}

int OffscreenWindow::choose(const std::vector<std::string>& entries, int current,
                            const CRect& /*anchor*/) {
    offeredEntries = entries;
    offeredCurrent = current;
    ++openings;
    if (choiceScript.empty()) {
        return -1;
    }
    const int choice = choiceScript.front();
    choiceScript.pop_front();
    return choice;
}

bool OffscreenWindow::resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    makeImage(width, height);
    return true;
}

void OffscreenWindow::scriptPointer(std::vector<PointerState> states) {
    pointerScript.assign(states.begin(), states.end());
}

void OffscreenWindow::scriptChoices(std::vector<int> choices) {
    choiceScript.assign(choices.begin(), choices.end());
}

void OffscreenWindow::click(CPoint where, long buttons) {
    lastPointer = {where, buttons};
    sink.onMouseDown(where, buttons); // last: this object may be gone afterwards
}

void OffscreenWindow::queueClick(CPoint where, long buttons) {
    queuedClicks.push_back({where, buttons});
}

// Called from the frame's idle pass, which keeps the frame, and this window,
// alive until it returns, whatever the clicks lead to.
void OffscreenWindow::pollEvents() {
    while (!queuedClicks.empty()) {
        const PointerState press = queuedClicks.front();
        queuedClicks.pop_front();
        click(press.where, press.buttons);
    }
}

int OffscreenWindow::width() const {
    return cairo_image_surface_get_width(image);
}
int OffscreenWindow::height() const {
    return cairo_image_surface_get_height(image);
}

CColor OffscreenWindow::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return kBlackCColor;
    }
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const auto word = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word), 255};
}

bool OffscreenWindow::writePng(const std::string& path) const {
    cairo_surface_flush(image);
    return cairo_surface_write_to_png(image, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::unique_ptr<WindowBackend> createOffscreenWindowBackend(const CRect& size,
                                                            FrameEventSink& sink) {
    return std::make_unique<OffscreenWindow>(size, sink);
}
