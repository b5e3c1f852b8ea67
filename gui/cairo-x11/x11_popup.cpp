#include "gui/cairo-x11/x11_popup.h"

#include "gui/cairo-x11/x11_connection.h"
#include "gui/cairo-x11/x11_picture.h"
#include "gui/cairo_surface.h"
#include "gui/cframe.h"
#include "gui/cparam_display.h"
#include "platform/services.h"

#include <X11/keysym.h>
#include <algorithm>
#include <poll.h>

namespace x11 {

namespace {

constexpr long kPopupEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
constexpr int kBorder = 1;
constexpr int kTextInset = 8;

// The list's window, its picture and the grabs; the destructor gives all of
// them back, whichever way the list ends.
class PopupList {
public:
    PopupList(Display* display, const std::vector<std::string>& entries, int current,
              const PopupStyle& style)
        : display(display), entries(entries), current(current), highlighted(current), style(style) {
        rowHeight = style.font.height + 6;
    }

    ~PopupList() {
        if (window == 0) {
            return;
        }
        if (displayUsable()) {
            X11ErrorTrap trap(display);
            XUngrabPointer(display, CurrentTime);
            XUngrabKeyboard(display, CurrentTime);
            if (gc != nullptr) {
                XFreeGC(display, gc);
            }
            XDestroyWindow(display, window);
            trap.failed();
            XEvent event;
            while (XCheckWindowEvent(display, window, kPopupEvents | StructureNotifyMask, &event)) {
            }
        }
        setPopupWindow(0);
        picture.reset();
    }

    PopupList(const PopupList&) = delete;
    PopupList& operator=(const PopupList&) = delete;

    bool open(const XVisualInfo& visual, Colormap colormap, const PopupPlace& place) {
        const int screen = visual.screen;
        const int screenWidth = DisplayWidth(display, screen);
        const int screenHeight = DisplayHeight(display, screen);
        width = std::max(place.width, widestEntry() + 2 * kTextInset + 2 * kBorder);
        height = static_cast<int>(entries.size()) * rowHeight + 2 * kBorder;
        int x = std::clamp(place.x, 0, std::max(screenWidth - width, 0));
        int y = place.y + place.height;
        if (y + height > screenHeight && place.y - height >= 0) {
            y = place.y - height; // no room below: above the menu
        }
        y = std::max(y, 0);

        picture = X11Picture::create(display, visual, width, height);
        if (picture == nullptr) {
            return false;
        }
        X11ErrorTrap trap(display);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.save_under = True;
        attributes.colormap = colormap;
        attributes.border_pixel = 0;
        attributes.background_pixmap = None;
        attributes.event_mask = kPopupEvents;
        window = XCreateWindow(display, RootWindow(display, screen), x, y,
                               static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                               visual.depth, InputOutput, visual.visual,
                               CWOverrideRedirect | CWSaveUnder | CWColormap | CWBorderPixel |
                                   CWBackPixmap | CWEventMask,
                               &attributes);
        if (trap.failed() || window == 0) {
            window = 0;
            return false;
        }
        setPopupWindow(window);
        XStoreName(display, window, "Tarvokin menu");
        gc = XCreateGC(display, window, 0, nullptr);
        draw();
        XMapRaised(display, window);
        if (trap.failed()) {
            return false;
        }
        grab();
        return true;
    }

    // Waits for the choice; -1 when dismissed.
    int run() {
        present();
        while (displayUsable()) {
            XEvent event;
            Bool taken = False;
            {
                X11ErrorTrap trap(display);
                taken = XCheckWindowEvent(display, window, kPopupEvents, &event);
                if (trap.failed()) {
                    return -1; // the list is gone
                }
            }
            if (taken == False) {
                // Keep our editor windows painted while the list is up.
                if (!platform::dispatchOnePaintEvent()) {
                    pollfd wait{ConnectionNumber(display), POLLIN, 0};
                    poll(&wait, 1, 20);
                }
                continue;
            }
            if (const int outcome = handle(event); outcome != kOpen) {
                return outcome;
            }
        }
        return -1;
    }

private:
    static constexpr int kOpen = -2;

    int handle(const XEvent& event) {
        switch (event.type) {
        case Expose:
            present();
            return kOpen;
        case MotionNotify:
            highlight(rowAt(event.xmotion.x, event.xmotion.y));
            return kOpen;
        case ButtonPress:
            if (event.xbutton.button == Button4 || event.xbutton.button == Button5) {
                return kOpen;
            }
            if (!inside(event.xbutton.x, event.xbutton.y)) {
                return -1;
            }
            highlight(rowAt(event.xbutton.x, event.xbutton.y));
            return kOpen;
        case ButtonRelease: {
            // A release over an entry chooses it, whether the press was there
            // or on the menu (press, drag, release).
            const int row = rowAt(event.xbutton.x, event.xbutton.y);
            return row >= 0 && event.xbutton.button <= Button3 ? row : kOpen;
        }
        case KeyPress:
            return key(event.xkey);
        default:
            return kOpen;
        }
    }

    int key(const XKeyEvent& event) {
        XKeyEvent copy = event;
        const KeySym symbol = XLookupKeysym(&copy, 0);
        const int count = static_cast<int>(entries.size());
        switch (symbol) {
        case XK_Escape:
            return -1;
        case XK_Return:
        case XK_KP_Enter:
        case XK_space:
            return highlighted >= 0 && highlighted < count ? highlighted : kOpen;
        case XK_Up:
            highlight(std::max(highlighted - 1, 0));
            return kOpen;
        case XK_Down:
            highlight(std::min(highlighted + 1, count - 1));
            return kOpen;
        default:
            return kOpen;
        }
    }

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    int rowAt(int x, int y) const {
        if (!inside(x, y) || y < kBorder) {
            return -1;
        }
        const int row = (y - kBorder) / rowHeight;
        return row < static_cast<int>(entries.size()) ? row : -1;
    }

    void highlight(int row) {
        if (row == highlighted || row < 0) {
            return;
        }
        const int before = highlighted;
        highlighted = row;
        draw();
        present(rowRect(before));
        present(rowRect(row));
    }

    CRect rowRect(int row) const {
        const int top = kBorder + row * rowHeight;
        return {kBorder, top, width - kBorder, top + rowHeight};
    }

    int widestEntry() const {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cairo_t* cr = cairo_create(scratch);
        cairo_select_font_face(cr, cairoFamilyFor(style.font.family), CAIRO_FONT_SLANT_NORMAL,
                               style.font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, style.font.height);
        double widest = 0;
        for (const std::string& entry : entries) {
            cairo_text_extents_t extents;
            cairo_text_extents(cr, entry.c_str(), &extents);
            widest = std::max(widest, extents.x_advance);
        }
        cairo_destroy(cr);
        cairo_surface_destroy(scratch);
        return static_cast<int>(widest + 0.999);
    }

    void draw() {
        CairoSurface surface(picture->context());
        surface.fillRect({0, 0, width, height}, style.text); // the border
        surface.fillRect({kBorder, kBorder, width - kBorder, height - kBorder}, style.back);
        for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
            const CRect cell = rowRect(row);
            const bool lit = row == highlighted;
            if (lit) {
                surface.fillRect(cell, style.text);
            }
            const CColor ink = lit ? style.back : style.text;
            if (row == current) {
                // A small mark before the menu's present entry.
                const int middle = (cell.top + cell.bottom) / 2;
                surface.fillRect({cell.left + 1, middle - 1, cell.left + 4, middle + 2}, ink);
            }
            const CRect textArea{cell.left + kTextInset, cell.top, cell.right - 2, cell.bottom};
            surface.drawText(entries[static_cast<std::size_t>(row)].c_str(), textArea, style.font,
                             ink, kLeftText);
        }
    }

    void present(const CRect& area) {
        X11ErrorTrap trap(display);
        picture->present(window, gc, area);
    }
    void present() { present({0, 0, width, height}); }

    // The grabs keep every click and key for the list while it is up; the
    // button that opened it may still be held, so retry for a moment.
    void grab() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            X11ErrorTrap trap(display);
            const int result = XGrabPointer(display, window, False,
                                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                            GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
            if (result == GrabSuccess) {
                break;
            }
            platform::sleepMilliseconds(10);
        }
        X11ErrorTrap trap(display);
        XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    }

    Display* display;
    const std::vector<std::string>& entries;
    int current;
    int highlighted;
    PopupStyle style;
    std::unique_ptr<X11Picture> picture;
    Window window = 0;
    GC gc = nullptr;
    int width = 0;
    int height = 0;
    int rowHeight = 0;
};

} // namespace

PopupStyle popupStyleFor(FrameEventSink& sink, const CRect& anchor) {
    PopupStyle style;
    auto* frame = dynamic_cast<CFrame*>(&sink);
    CView* view = frame != nullptr ? frame->getViewAt({anchor.left, anchor.top}) : nullptr;
    if (auto* display = dynamic_cast<CParamDisplay*>(view)) {
        style.font = standardFont(display->getFont());
        style.text = display->getFontColor();
        style.back = display->getBackColor();
    }
    return style;
}

int runPopupList(Display* display, const XVisualInfo& visual, Colormap colormap,
                 const std::vector<std::string>& entries, int current, const PopupPlace& place,
                 const PopupStyle& style) {
    PopupList list(display, entries, current, style);
    if (!list.open(visual, colormap, place)) {
        return -1;
    }
    return list.run();
}

} // namespace x11
