#include "gui/cairo-x11/x11_window.h"

#include "gui/cairo-x11/x11_connection.h"
#include "gui/cairo-x11/x11_keys.h"
#include "gui/cairo-x11/x11_popup.h"
#include "gui/cairo_surface.h"
#include "platform/services.h"

#include <X11/Xatom.h>
#include <cstdint>

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask;

long buttonsFromState(unsigned state) {
    long buttons = 0;
    if (state & Button1Mask) {
        buttons |= kLButton;
    }
    if (state & Button2Mask) {
        buttons |= kMButton;
    }
    if (state & Button3Mask) {
        buttons |= kRButton;
    }
    if (state & ShiftMask) {
        buttons |= kShift;
    }
    if (state & ControlMask) {
        buttons |= kControl;
    }
    if (state & Mod1Mask) {
        buttons |= kAlt;
    }
    return buttons;
}

// The button that went down, as a CButtonState bit; 0 for others.
long buttonBit(unsigned button) {
    switch (button) {
    case Button1:
        return kLButton;
    case Button2:
        return kMButton;
    case Button3:
        return kRButton;
    default:
        return 0;
    }
}

// The function's address in the _XEventProc property: 32-bit items, low half
// first (one item in a 32-bit build, two in a 64-bit build).
void storeEventProc(Display* display, Window window) {
    const Atom atom = XInternAtom(display, "_XEventProc", False);
    const auto address = reinterpret_cast<std::uintptr_t>(&tarvokinX11EventProc);
    long items[2] = {static_cast<long>(address & 0xFFFFFFFFu), 0};
    int count = 1;
    if constexpr (sizeof(std::uintptr_t) > 4) {
        items[1] = static_cast<long>((static_cast<std::uint64_t>(address) >> 32) & 0xFFFFFFFFu);
        count = 2;
    }
    XChangeProperty(display, window, atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(items), count);
}

Bool eventOfWindow(Display* /*display*/, XEvent* event, XPointer window) {
    return event->xany.window == *reinterpret_cast<Window*>(window) ? True : False;
}

// This window's events, plus any event of a window that is not ours (stale
// events of closed windows, notifications without a window) so they do not
// pile up in the queue; the pop-up's and other editors' events stay.
Bool eventForPoll(Display* /*display*/, XEvent* event, XPointer window) {
    const Window target = event->xany.window;
    return target == *reinterpret_cast<Window*>(window) || !x11::isOwnWindow(target) ? True : False;
}

Bool exposeOfOwnWindow(Display* /*display*/, XEvent* event, XPointer /*unused*/) {
    return event->type == Expose && x11::backendOf(event->xany.window) != nullptr ? True : False;
}

// The platform's "one pending paint event": the first expose event of any of
// our editor windows, handled by its window.
bool dispatchOnePendingExpose() {
    Display* display = x11::currentDisplay();
    if (display == nullptr || !x11::displayUsable()) {
        return false;
    }
    XEvent event;
    {
        x11::X11ErrorTrap trap(display);
        if (XCheckIfEvent(display, &event, &exposeOfOwnWindow, nullptr) == False) {
            return false;
        }
    }
    if (X11WindowBackend* backend = x11::backendOf(event.xany.window)) {
        backend->handleEvent(event);
    }
    return true;
}

// The pointer's screen position, from the server.
bool pointerOnScreen(int& x, int& y) {
    Display* display = x11::currentDisplay();
    if (display == nullptr || !x11::displayUsable()) {
        return false;
    }
    x11::X11ErrorTrap trap(display);
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    const Bool onScreen = XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y,
                                        &windowX, &windowY, &mask);
    return onScreen == True && !trap.failed();
}

} // namespace

std::unique_ptr<X11WindowBackend> X11WindowBackend::create(Window parent, const CRect& size,
                                                           FrameEventSink& sink) {
    if (parent == 0 || size.width() <= 0 || size.height() <= 0) {
        return nullptr;
    }
    Display* display = x11::acquireDisplay();
    if (display == nullptr) {
        return nullptr;
    }
    // From here the destructor gives the connection back, whatever fails.
    std::unique_ptr<X11WindowBackend> backend(new X11WindowBackend(display, sink));
    if (!backend->makeWindow(parent, size) || !backend->makePicture(size.width(), size.height())) {
        return nullptr;
    }
    platform::setPaintHook(&dispatchOnePendingExpose);
    platform::setCursorHook(&pointerOnScreen);
    return backend;
}

X11WindowBackend::X11WindowBackend(Display* display, FrameEventSink& sink)
    : display(display), sink(sink) {}

bool X11WindowBackend::makeWindow(Window parent, const CRect& size) {
    if (!x11::displayUsable()) {
        return false;
    }
    x11::X11ErrorTrap trap(display);
    XWindowAttributes parentAttributes;
    if (XGetWindowAttributes(display, parent, &parentAttributes) == 0 || trap.failed()) {
        return false; // no such window
    }
    const int screen = XScreenNumberOfScreen(parentAttributes.screen);
    if (!x11::findRgbVisual(display, screen, visual)) {
        return false;
    }
    colormap = XCreateColormap(display, RootWindow(display, screen), visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.border_pixel = 0;
    // No background: the server never clears the window before an expose, so
    // nothing flickers; every exposed pixel is copied from the picture.
    attributes.background_pixmap = None;
    attributes.event_mask = kEventMask;
    xWindow = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(size.width()),
                            static_cast<unsigned>(size.height()), 0, visual.depth, InputOutput,
                            visual.visual, CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask,
                            &attributes);
    if (trap.failed() || xWindow == 0) {
        return false;
    }
    XStoreName(display, xWindow, "Tarvokin");
    storeEventProc(display, xWindow);
    gc = XCreateGC(display, xWindow, 0, nullptr);
    XMapWindow(display, xWindow);
    if (trap.failed()) {
        return false;
    }
    xParent = parent;
    x11::registerWindow(xWindow, this);
    return true;
}

bool X11WindowBackend::makePicture(int width, int height) {
    auto next = x11::X11Picture::create(display, visual, width, height);
    if (next == nullptr) {
        return false;
    }
    picture = std::move(next);
    surface = std::make_unique<CairoSurface>(picture->context());
    return true;
}

X11WindowBackend::~X11WindowBackend() {
    *destroyed = true;
    surface.reset();
    picture.reset();
    if (xWindow != 0) {
        x11::unregisterWindow(xWindow);
    }
    if (x11::displayUsable()) {
        x11::X11ErrorTrap trap(display);
        if (gc != nullptr) {
            XFreeGC(display, gc);
        }
        if (xWindow != 0) {
            XDestroyWindow(display, xWindow); // BadWindow when the parent took it along
        }
        if (colormap != 0) {
            XFreeColormap(display, colormap);
        }
        trap.failed();
        // Events still queued for the window would otherwise stay forever.
        XEvent event;
        Window gone = xWindow;
        while (gone != 0 &&
               XCheckIfEvent(display, &event, &eventOfWindow, reinterpret_cast<XPointer>(&gone))) {
        }
    } else if (gc != nullptr) {
        XFreeGC(display, gc); // client-side memory of a broken connection
    }
    x11::releaseDisplay();
}

void X11WindowBackend::noteFailure(bool failed) {
    if (failed) {
        lost = true;
    }
}

DrawSurface& X11WindowBackend::beginDraw() {
    return *surface;
}

void X11WindowBackend::endDraw(const CRect& changed) {
    if (lost || !x11::displayUsable()) {
        return;
    }
    x11::X11ErrorTrap trap(display);
    picture->present(xWindow, gc, changed);
    noteFailure(trap.failed());
}

PointerState X11WindowBackend::readPointer() {
    PointerState state{lastPointer, 0};
    if (lost || !x11::displayUsable()) {
        return state; // no button: a tracking loop ends
    }
    x11::X11ErrorTrap trap(display);
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    const Bool sameScreen =
        XQueryPointer(display, xWindow, &root, &child, &rootX, &rootY, &x, &y, &mask);
    if (trap.failed()) {
        lost = true;
        return state;
    }
    if (sameScreen == True) {
        lastPointer = {x, y};
    }
    return {lastPointer, buttonsFromState(mask)};
}

int X11WindowBackend::choose(const std::vector<std::string>& entries, int current,
                             const CRect& anchor) {
    if (lost || entries.empty() || !x11::displayUsable()) {
        return -1;
    }
    x11::PopupPlace place;
    {
        x11::X11ErrorTrap trap(display);
        Window child = 0;
        XTranslateCoordinates(display, xWindow, DefaultRootWindow(display), anchor.left, anchor.top,
                              &place.x, &place.y, &child);
        if (trap.failed()) {
            lost = true;
            return -1;
        }
    }
    place.width = anchor.width();
    place.height = anchor.height();
    return x11::runPopupList(display, visual, colormap, entries, current, place,
                             x11::popupStyleFor(sink, anchor));
}

CPoint X11WindowBackend::screenOrigin() {
    if (lost || !x11::displayUsable()) {
        return {};
    }
    x11::X11ErrorTrap trap(display);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, xWindow, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    if (trap.failed()) {
        lost = true;
        return {};
    }
    return {x, y};
}

bool X11WindowBackend::resize(int width, int height) {
    if (width <= 0 || height <= 0 || lost || !x11::displayUsable()) {
        return false;
    }
    // The old picture's pixels are kept where the sizes overlap.
    auto next = x11::X11Picture::create(display, visual, width, height);
    if (next == nullptr) {
        return false;
    }
    cairo_set_source_surface(next->context(), cairo_get_target(picture->context()), 0, 0);
    cairo_paint(next->context());
    picture = std::move(next);
    surface = std::make_unique<CairoSurface>(picture->context());
    x11::X11ErrorTrap trap(display);
    XResizeWindow(display, xWindow, static_cast<unsigned>(width), static_cast<unsigned>(height));
    noteFailure(trap.failed());
    return !lost;
}

void X11WindowBackend::pollEvents() {
    if (lost || !x11::displayUsable()) {
        return;
    }
    const std::shared_ptr<bool> gone = destroyed;
    Window target = xWindow;
    for (;;) {
        XEvent event;
        Bool taken = False;
        {
            x11::X11ErrorTrap trap(display);
            if (handling > 0) {
                // Inside a tracking loop or a key handler: only repaint; a new
                // press waits until the gesture is over.
                taken = XCheckTypedWindowEvent(display, xWindow, Expose, &event);
            } else {
                taken = XCheckIfEvent(display, &event, &eventForPoll,
                                      reinterpret_cast<XPointer>(&target));
            }
        }
        if (taken == False) {
            return;
        }
        if (event.xany.window == target) {
            handleEvent(event);
            if (*gone || lost) {
                return; // the editor closed while the event was handled
            }
        }
    }
}

bool X11WindowBackend::seenBefore(const XEvent& event) {
    SeenInput input{event.type, 0, 0};
    if (event.type == ButtonPress || event.type == ButtonRelease) {
        input.time = event.xbutton.time;
        input.detail = event.xbutton.button;
    } else {
        input.time = event.xkey.time;
        input.detail = event.xkey.keycode;
    }
    for (const SeenInput& earlier : seen) {
        if (earlier.type == input.type && earlier.time == input.time &&
            earlier.detail == input.detail) {
            return true;
        }
    }
    seen[nextSeen] = input;
    nextSeen = (nextSeen + 1) % seen.size();
    return false;
}

void X11WindowBackend::handleEvent(const XEvent& event) {
    // Inside a tracking loop or a key handler only repaints are handled, from
    // any source: pollEvents leaves the rest queued until the gesture is over,
    // and an event the host hands us meanwhile is dropped here, before it is
    // marked as seen, so its copy in our queue is still handled afterwards.
    if (handling > 0 && event.type != Expose) {
        return;
    }
    // The frame may delete itself, and this object, when the handler of an
    // input event returns (the editor was closed meanwhile).
    const std::shared_ptr<bool> gone = destroyed;
    switch (event.type) {
    case Expose: {
        const XExposeEvent& expose = event.xexpose;
        sink.onPaint({expose.x, expose.y, expose.x + expose.width, expose.y + expose.height});
        break;
    }
    case ButtonPress: {
        if (seenBefore(event)) {
            break;
        }
        const XButtonEvent& press = event.xbutton;
        const CPoint where{press.x, press.y};
        lastPointer = where;
        ++handling;
        if (press.button == Button4 || press.button == Button5) {
            sink.onWheel(where, press.button == Button4 ? 1.0f : -1.0f);
        } else if (const long bit = buttonBit(press.button); bit != 0) {
            sink.onMouseDown(
                where, bit | (buttonsFromState(press.state) & ~(kLButton | kMButton | kRButton)));
        }
        if (*gone) {
            return;
        }
        --handling;
        break;
    }
    case KeyPress:
    case KeyRelease: {
        if (seenBefore(event)) {
            break;
        }
        CKeyCode key;
        int used = -1;
        if (x11::translateKey(event.xkey, key)) {
            ++handling;
            used = event.type == KeyPress ? sink.onKeyDown(key) : sink.onKeyUp(key);
            if (*gone) {
                return;
            }
            --handling;
        }
        if (used != 1) {
            passKeyToHost(event);
        }
        break;
    }
    case DestroyNotify:
        if (event.xdestroywindow.window == xWindow) {
            lost = true;
        }
        break;
    default:
        break;
    }
}

// Selecting key events on our window keeps them from travelling up to the
// host's window, so a key the panel does not use goes on to the parent (the
// host's shortcuts keep working while the pointer is over the editor).
void X11WindowBackend::passKeyToHost(const XEvent& event) {
    if (lost || xParent == 0 || event.xany.display != display || !x11::displayUsable()) {
        return; // a key the host forwarded itself is not sent back
    }
    XEvent forwarded = event;
    forwarded.xkey.window = xParent;
    forwarded.xkey.subwindow = xWindow;
    x11::X11ErrorTrap trap(display);
    XSendEvent(display, xParent, True, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
               &forwarded);
    noteFailure(trap.failed());
}

extern "C" void tarvokinX11EventProc(XEvent* event) {
    if (event == nullptr) {
        return;
    }
    if (X11WindowBackend* backend = x11::backendOf(event->xany.window)) {
        backend->handleEvent(*event);
    }
}

std::unique_ptr<WindowBackend> createPlatformWindowBackend(void* parent, const CRect& size,
                                                           FrameEventSink& sink) {
    // The host passes the X11 Window id in the pointer argument.
    const auto window = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    return X11WindowBackend::create(window, size, sink);
}
