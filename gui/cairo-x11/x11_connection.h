// The plug-in's own X11 connection, shared by every editor window of the
// process and reference-counted: opened by the first window, closed after the
// last one. The host's connection is not available to a plug-in, so the
// windows, their events and the pointer queries all go through this one.
//
// Threading: Xlib is used without XInitThreads (a plug-in cannot call it
// early enough), so every call on this connection happens on the host's
// user-interface thread. The bookkeeping below is guarded anyway, so a stray
// call from another thread cannot corrupt the reference count or the registry.
//
// Errors: an X protocol error (BadWindow when the host destroyed its window
// before closing the editor, for instance) must never reach the process-wide
// default handler, which exits. Every group of requests on this connection
// runs inside an X11ErrorTrap, which installs a handler only for its own
// extent, waits for the server's answers (XSync) and restores the previous
// handler. A lost connection (the X server went away) is an I/O error, whose
// process-wide handler exits unless it returns and the connection's exit
// handler returns too (libX11 1.7 and later). So first, before any request,
// the socket is checked for a hang-up and a connection found dead is never
// used again; should the server vanish in the middle of a request anyway, the
// trap's I/O handler (installed for its extent like the error handler) and
// our connection's exit handler return instead of exiting. With an older
// libX11 that last case still ends the process, as it does for the host.
#pragma once

#include <X11/Xlib.h>

class X11WindowBackend;

namespace x11 {

// Opens the shared connection (DISPLAY) or takes another reference to it.
// Null when there is no DISPLAY or the server cannot be reached.
Display* acquireDisplay();
// Gives a reference back; the last one closes the connection.
void releaseDisplay();
// The open connection, or null.
Display* currentDisplay();
// False once the connection broke; a broken connection is only ever closed.
bool displayUsable();

// Installs the error handler for its lifetime (nesting is allowed). Errors
// of the shared connection are recorded here; errors of any other connection
// (the host's) are passed to the handler that was installed before.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    // Waits for every answer of the requests made so far, then restores.
    ~X11ErrorTrap();

    // Waits for the server (XSync) and answers whether any request failed.
    bool failed();
    // The last error's code and resource (after failed()).
    int errorCode() const { return lastError; }
    XID errorResource() const { return lastResource; }
    // The display was closed inside the trap: skip the final sync.
    void forget() { display = nullptr; }

    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

private:
    friend int trapErrors(Display*, XErrorEvent*);
    friend int trapIoErrors(Display*);

    Display* display;
    XErrorHandler previousHandler;
    XIOErrorHandler previousIoHandler;
    X11ErrorTrap* outer;
    int lastError = 0;
    XID lastResource = 0;
    bool anyError = false;
};

// The live editor windows of this process, by X window id.
void registerWindow(Window window, X11WindowBackend* backend);
void unregisterWindow(Window window);
X11WindowBackend* backendOf(Window window);
// True for a window this process created and still owns (editor or pop-up).
bool isOwnWindow(Window window);
// The pop-up list's window while one is open (0 otherwise): its events belong
// to the pop-up's own loop.
void setPopupWindow(Window window);

} // namespace x11
