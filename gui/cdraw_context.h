// CDrawContext: what a view draws with and reads the mouse through. A context
// made by the frame's redraw draws into the window's buffer; a context made
// for an event (mouse, wheel) has no surface, and its drawing calls do nothing.
#pragma once

#include "gui/gui_types.h"

class CBitmap;
class CFrame;
class DrawSurface;

class CDrawContext {
public:
    // A context for events of frame (no drawing).
    explicit CDrawContext(CFrame* frame);
    // A context drawing into surface.
    CDrawContext(CFrame* frame, DrawSurface* surface);

    CFrame* getFrame() const { return frame; }

    void setFillColor(CColor colour) { fillColour = colour; }
    CColor getFillColor() const { return fillColour; }
    void fillRect(const CRect& rect);

    // Copies bitmap pixels from sourceOffset into dest; drawTransparent leaves
    // out pure white pixels (the transparent key colour).
    void drawBitmap(const CBitmap* bitmap, const CRect& dest, CPoint sourceOffset = {});
    void drawTransparent(const CBitmap* bitmap, const CRect& dest, CPoint sourceOffset = {});

    // Font by standard font number (gui_types.h).
    void setFont(int font) { fontDesc = standardFont(font); }
    void setFontColor(CColor colour) { fontColour = colour; }
    void drawString(const char* text, const CRect& rect, CHoriTxtAlign align = kCenterText);

    // The pointer for a mouse-tracking loop. getMouseButtons reads the window's
    // pointer (button and modifier bits); getMouseLocation answers the position
    // of that same read (reading once if nothing was read yet). On a detached
    // frame no button is ever held.
    long getMouseButtons();
    CPoint getMouseLocation();

    // The screen position of the window's top-left corner.
    CPoint getWindowOrigin() const;

private:
    void readPointer();

    CFrame* frame;
    DrawSurface* surface = nullptr;
    CColor fillColour = kBlackCColor;
    CColor fontColour = kWhiteCColor;
    CFontDesc fontDesc = standardFont(kSystemFont);
    CPoint lastLocation;
    long lastButtons = 0;
    bool pointerRead = false;
};
