#include "gui/cairo-x11/x11_connection.h"

#include <algorithm>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <utility>
#include <vector>

namespace x11 {

namespace {

struct Shared {
    std::mutex mutex;
    Display* display = nullptr;
    int references = 0;
    bool broken = false;
    std::vector<std::pair<Window, X11WindowBackend*>> windows;
    Window popup = 0;
};

Shared& shared() {
    static Shared state;
    return state;
}

// The innermost trap in force (traps nest on the one UI thread).
X11ErrorTrap* activeTrap = nullptr;

// Instead of the default exit after an I/O error on our own connection:
// remember that it is gone. Xlib then returns from the failing call and every
// later use of the connection is skipped by the windows.
void connectionLost(Display* /*display*/, void* /*data*/) {
    shared().broken = true;
}

// True when the server closed the connection: the socket reports a hang-up,
// or it is readable and holds no bytes. Checked before our requests so that
// Xlib's I/O error path is not even entered in the usual case.
bool serverHungUp(Display* display) {
    pollfd socket{ConnectionNumber(display), POLLIN, 0};
    if (poll(&socket, 1, 0) <= 0) {
        return false;
    }
    if (socket.revents & (POLLHUP | POLLERR | POLLNVAL)) {
        return true;
    }
    char byte = 0;
    return recv(socket.fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

} // namespace

// The I/O error handler while a trap is in force: a broken connection of ours
// is noted and the call returns (the exit handler set on our connection does
// not exit); any other connection goes to the handler installed before.
int trapIoErrors(Display* display) {
    X11ErrorTrap* trap = activeTrap;
    if (display != shared().display) {
        const XIOErrorHandler previous = trap != nullptr ? trap->previousIoHandler : nullptr;
        return previous != nullptr ? previous(display) : 0;
    }
    shared().broken = true;
    return 0;
}

int trapErrors(Display* display, XErrorEvent* error) {
    X11ErrorTrap* trap = activeTrap;
    if (trap == nullptr) {
        return 0;
    }
    if (display != trap->display) {
        // The host's connection: its own handler decides.
        return trap->previousHandler != nullptr ? trap->previousHandler(display, error) : 0;
    }
    trap->anyError = true;
    trap->lastError = error->error_code;
    trap->lastResource = error->resourceid;
    return 0;
}

X11ErrorTrap::X11ErrorTrap(Display* display)
    : display(display), previousHandler(XSetErrorHandler(&trapErrors)),
      previousIoHandler(XSetIOErrorHandler(&trapIoErrors)), outer(activeTrap) {
    activeTrap = this;
}

X11ErrorTrap::~X11ErrorTrap() {
    if (display != nullptr && displayUsable()) {
        XSync(display, False);
    }
    activeTrap = outer;
    XSetIOErrorHandler(previousIoHandler);
    XSetErrorHandler(previousHandler);
}

bool X11ErrorTrap::failed() {
    if (display != nullptr && displayUsable()) {
        XSync(display, False);
    }
    return anyError || !displayUsable();
}

Display* acquireDisplay() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.display == nullptr) {
        s.display = XOpenDisplay(nullptr);
        if (s.display == nullptr) {
            return nullptr;
        }
        s.broken = false;
        XSetIOErrorExitHandler(s.display, &connectionLost, nullptr);
    }
    ++s.references;
    return s.display;
}

void releaseDisplay() {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.references <= 0 || --s.references > 0) {
        return;
    }
    {
        // Closing syncs with the server: a connection that broke meanwhile
        // must not reach the process-wide I/O error handler.
        displayUsable();
        X11ErrorTrap trap(s.display);
        XCloseDisplay(s.display);
        trap.forget();
    }
    s.display = nullptr;
    s.broken = false;
    s.windows.clear();
    s.popup = 0;
}

Display* currentDisplay() {
    return shared().display;
}

bool displayUsable() {
    Shared& s = shared();
    if (s.display == nullptr || s.broken) {
        return false;
    }
    if (serverHungUp(s.display)) {
        s.broken = true;
    }
    return !s.broken;
}

void registerWindow(Window window, X11WindowBackend* backend) {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    s.windows.emplace_back(window, backend);
}

void unregisterWindow(Window window) {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.windows, [window](const auto& entry) { return entry.first == window; });
}

X11WindowBackend* backendOf(Window window) {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    auto found = std::find_if(s.windows.begin(), s.windows.end(),
                              [window](const auto& entry) { return entry.first == window; });
    return found != s.windows.end() ? found->second : nullptr;
}

bool isOwnWindow(Window window) {
    Shared& s = shared();
    {
        std::lock_guard lock(s.mutex);
        if (window != 0 && window == s.popup) {
            return true;
        }
    }
    return backendOf(window) != nullptr;
}

void setPopupWindow(Window window) {
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    s.popup = window;
}

} // namespace x11
