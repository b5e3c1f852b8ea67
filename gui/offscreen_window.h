// OffscreenWindow: the backend without a window. The frame draws into a cairo
// image surface that can be read as pixels or written as PNG. A scripted
// pointer stands in for the mouse and a scripted chooser for the pop-up list,
// so tests and the panel tool can drive the controls.
#pragma once

#include "gui/cairo_surface.h"
#include "gui/window_backend.h"

#include <cairo.h>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class CFrame;

class OffscreenWindow : public WindowBackend {
public:
    // The offscreen window of frame, or null (no frame, or a real window).
    static OffscreenWindow* of(const CFrame* frame);

    OffscreenWindow(const CRect& size, FrameEventSink& sink);
    ~OffscreenWindow() override;

    // WindowBackend.
    DrawSurface& beginDraw() override;
    void endDraw(const CRect& changed) override;
    // Answers the next scripted pointer state; once the script is used up,
    // the last position with no button held (so tracking loops end).
    PointerState readPointer() override;
    // Answers the next scripted choice (-1 when none is left) and records
    // what was offered.
    int choose(const std::vector<std::string>& entries, int current, const CRect& anchor) override;
    CPoint screenOrigin() override { return {}; }
    bool resize(int width, int height) override;

    // Scripting. Each read of the pointer consumes one state.
    void scriptPointer(std::vector<PointerState> states);
    std::size_t pointerStatesLeft() const { return pointerScript.size(); }
    void scriptChoices(std::vector<int> choices);
    // Delivers a button press at where to the frame, as a window would. The
    // frame, and this window, may be gone when it returns (the editor closed).
    void click(CPoint where, long buttons = kLButton);
    // Queues a button press that the next pollEvents delivers, as a window
    // whose events wait for the frame's idle pass.
    void queueClick(CPoint where, long buttons = kLButton);
    void pollEvents() override;

    // What the pop-up list offered last time, and how often it opened.
    const std::vector<std::string>& lastOfferedEntries() const { return offeredEntries; }
    int lastOfferedCurrent() const { return offeredCurrent; }
    int chooserOpenings() const { return openings; }

    // The picture.
    int width() const;
    int height() const;
    // The pixel at (x, y); black outside the image.
    CColor pixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    // How many times something was drawn (endDraw calls) and the area of the last.
    int drawCount() const { return draws; }
    CRect lastDrawnArea() const { return lastArea; }

private:
    void makeImage(int width, int height);

    FrameEventSink& sink;
    cairo_surface_t* image = nullptr;
    cairo_t* cr = nullptr;
    std::unique_ptr<CairoSurface> surface;
    std::deque<PointerState> pointerScript;
    PointerState lastPointer;
    std::deque<int> choiceScript;
    std::deque<PointerState> queuedClicks;
    std::vector<std::string> offeredEntries;
    int offeredCurrent = -1;
    int openings = 0;
    int draws = 0;
    CRect lastArea;
};
