#include "gui/cdraw_context.h"

#include "gui/cframe.h"
#include "gui/draw_surface.h"

CDrawContext::CDrawContext(CFrame* frame) : frame(frame) {}

CDrawContext::CDrawContext(CFrame* frame, DrawSurface* surface) : frame(frame), surface(surface) {}

void CDrawContext::fillRect(const CRect& rect) {
    if (surface != nullptr) {
        surface->fillRect(rect, fillColour);
    }
}

void CDrawContext::drawBitmap(const CBitmap* bitmap, const CRect& dest, CPoint sourceOffset) {
    if (surface != nullptr && bitmap != nullptr) {
        surface->drawBitmap(*bitmap, dest, sourceOffset, false);
    }
}

void CDrawContext::drawTransparent(const CBitmap* bitmap, const CRect& dest, CPoint sourceOffset) {
    if (surface != nullptr && bitmap != nullptr) {
        surface->drawBitmap(*bitmap, dest, sourceOffset, true);
    }
}

void CDrawContext::drawString(const char* text, const CRect& rect, CHoriTxtAlign align) {
    if (surface != nullptr && text != nullptr) {
        surface->drawText(text, rect, fontDesc, fontColour, align);
    }
}

void CDrawContext::readPointer() {
    if (frame != nullptr && frame->isDetached()) {
        // The editor closed during the gesture: no button held, the loop ends.
        lastButtons = 0;
        pointerRead = true;
        return;
    }
    WindowBackend* window = frame != nullptr ? frame->getBackend() : nullptr;
    PointerState state = window != nullptr ? window->readPointer() : PointerState{};
    lastLocation = state.where;
    lastButtons = state.buttons;
    pointerRead = true;
}

long CDrawContext::getMouseButtons() {
    readPointer();
    return lastButtons;
}

CPoint CDrawContext::getMouseLocation() {
    if (!pointerRead) {
        readPointer();
    }
    return lastLocation;
}

CPoint CDrawContext::getWindowOrigin() const {
    WindowBackend* window = frame != nullptr ? frame->getBackend() : nullptr;
    return window != nullptr ? window->screenOrigin() : CPoint{};
}
