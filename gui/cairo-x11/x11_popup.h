// The option menu's pop-up list on X11: an override-redirect window just below
// the menu (above it when the screen ends), one row per entry in the menu's
// font and colours, the row under the pointer highlighted. It holds the
// pointer and keyboard grabs while it is up and always gives them back.
#pragma once

#include "gui/gui_types.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <string>
#include <vector>

class FrameEventSink;

namespace x11 {

// The menu's rectangle in screen coordinates.
struct PopupPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct PopupStyle {
    CFontDesc font = standardFont(kNormalFontSmaller);
    CColor text = kWhiteCColor;
    CColor back = kBlackCColor;
};

// The font and colours of the menu at anchor (frame coordinates) when sink is
// a frame holding a text control there; white on black in font 5 otherwise.
PopupStyle popupStyleFor(FrameEventSink& sink, const CRect& anchor);

// Shows the list and waits for the user: a click (button released) on an entry
// chooses it; a click outside, Escape, or losing the window answers -1.
// Return or space choose the highlighted entry, Up and Down move it.
int runPopupList(Display* display, const XVisualInfo& visual, Colormap colormap,
                 const std::vector<std::string>& entries, int current, const PopupPlace& place,
                 const PopupStyle& style);

} // namespace x11
