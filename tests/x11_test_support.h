// Support for the real-window editor tests: a private Xvfb server, a host's
// top-level window, pixel reads and PNG screenshots, xdotool scripts run
// while the host keeps idling the editor, and an in-process twin of the
// plug-in whose offscreen panel shows what the window must show.
#pragma once

#include "gui/gui_types.h"
#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <X11/Xlib.h>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class AudioEffect;
class OffscreenWindow;

namespace x11test {

// True when the program is found on PATH.
bool haveProgram(const char* name);

// An Xvfb server of our own on a free display number (Xvfb picks it through
// -displayfd); DISPLAY points at it while it runs.
class XvfbServer {
public:
    // Null when Xvfb is missing or does not start.
    static std::unique_ptr<XvfbServer> start();
    ~XvfbServer();
    const std::string& name() const { return displayName; }

private:
    pid_t pid = -1;
    std::string displayName;
};

// The pixels of a window (or part of the root) as 0xRRGGBB words.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
};
Pixels readPixels(Display* display, Window window, int width, int height);
bool writePng(const Pixels& pixels, const std::string& path);
// Where the tests keep their screenshots.
std::string artifactPath(const std::string& file);

// The children of window, as XQueryTree lists them.
std::vector<Window> childrenOf(Display* display, Window window);

// Runs script on another thread (it moves the real pointer with xdotool)
// while this thread calls effEditIdle every 20 ms, as a host's UI timer
// would; then idles a few more times so the last changes reach the window.
void runWhileIdling(hosting::HostedPlugin& plugin, const std::function<void()>& script);
// Idles the editor count times, 20 ms apart.
void idleFor(hosting::HostedPlugin& plugin, int count);
// Runs an xdotool command line (arguments after "xdotool"); false on failure.
bool xdotool(const std::string& arguments);
// The geometry of the first visible window named name, asking attempts
// times 50 ms apart.
bool findWindowByName(const std::string& name, CRect& onScreen, int attempts = 60);

// The plug-in's classes linked into this test: the same panel drawn on the
// offscreen backend, to compare the real window with.
class PanelTwin {
public:
    PanelTwin();
    ~PanelTwin();
    void setParameter(int index, float value);
    // Redraws what changed and answers the pixels.
    Pixels pixels();
    // The rectangle of the control whose tag is tag (empty when none).
    CRect controlRect(int tag) const;

private:
    AudioEffect* effect = nullptr;
    OffscreenWindow* window = nullptr;
};

// How many pixels differ between two pictures of the same size inside area,
// and the largest difference of one channel among them.
struct Difference {
    int pixels = 0;
    int largest = 0;
};
Difference compare(const Pixels& a, const Pixels& b, const CRect& area);

} // namespace x11test
