#include "tests/x11_test_support.h"

#include "editor/aeff_gui_editor.h"
#include "gui/cframe.h"
#include "gui/cview.h"
#include "gui/offscreen_window.h"
#include "gui/window_backend.h"
#include "host/audio_effect.h"

#include <X11/Xutil.h>
#include <atomic>
#include <cairo.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace x11test {

bool haveProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<XvfbServer> XvfbServer::start() {
    if (!haveProgram("Xvfb")) {
        return nullptr;
    }
    int ends[2];
    if (pipe(ends) != 0) {
        return nullptr;
    }
    const std::string fd = std::to_string(ends[1]);
    std::vector<std::string> words{"Xvfb",        "-displayfd", fd,    "-screen", "0",
                                   "1024x768x24", "-nolisten",  "tcp", "-noreset"};
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    auto server = std::unique_ptr<XvfbServer>(new XvfbServer);
    if (posix_spawnp(&server->pid, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) {
        close(ends[0]);
        close(ends[1]);
        server->pid = -1;
        return nullptr;
    }
    close(ends[1]);
    // Xvfb writes the display number it took once it accepts connections.
    std::string number;
    pollfd wait{ends[0], POLLIN, 0};
    while (poll(&wait, 1, 10000) > 0) {
        char c = 0;
        if (read(ends[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    close(ends[0]);
    if (number.empty()) {
        return nullptr; // the destructor stops the process
    }
    server->displayName = ":" + number;
    setenv("DISPLAY", server->displayName.c_str(), 1);
    return server;
}

XvfbServer::~XvfbServer() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

Pixels readPixels(Display* display, Window window, int width, int height) {
    Pixels pixels;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.width = width;
    pixels.height = height;
    pixels.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.rgb[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
        }
    }
    XDestroyImage(image);
    return pixels;
}

bool writePng(const Pixels& pixels, const std::string& path) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < pixels.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < pixels.width; ++x) {
            row[x] = pixels.at(x, y);
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

std::string artifactPath(const std::string& file) {
    const std::filesystem::path folder = TARVOKIN_X11_ARTIFACTS;
    std::filesystem::create_directories(folder);
    return (folder / file).string();
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        result.assign(children, children + count);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return result;
}

void idleFor(hosting::HostedPlugin& plugin, int count) {
    for (int i = 0; i < count; ++i) {
        plugin.dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void runWhileIdling(hosting::HostedPlugin& plugin, const std::function<void()>& script) {
    std::atomic<bool> done{false};
    std::thread mover([&] {
        script();
        done.store(true);
    });
    while (!done.load()) {
        plugin.dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mover.join();
    idleFor(plugin, 8);
}

bool xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool findWindowByName(const std::string& name, CRect& onScreen, int attempts) {
    const std::string command = "xdotool search --onlyvisible --name '^" + name +
                                "$' getwindowgeometry --shell 2>/dev/null";
    for (int attempt = 0; attempt < attempts; ++attempt) {
        FILE* output = popen(command.c_str(), "r");
        if (output == nullptr) {
            return false;
        }
        int x = -1;
        int y = -1;
        int width = -1;
        int height = -1;
        char line[128];
        while (std::fgets(line, sizeof line, output) != nullptr) {
            std::sscanf(line, "X=%d", &x);
            std::sscanf(line, "Y=%d", &y);
            std::sscanf(line, "WIDTH=%d", &width);
            std::sscanf(line, "HEIGHT=%d", &height);
        }
        pclose(output);
        if (width > 0 && height > 0) {
            onScreen = {x, y, x + width, y + height};
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

namespace {

VstIntPtr VSTCALLBACK twinHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/,
                               VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

} // namespace

PanelTwin::PanelTwin() {
    setForceOffscreenWindows(true);
    effect = createEffectInstance(&twinHost);
    auto* editor = effect != nullptr ? dynamic_cast<AEffGUIEditor*>(effect->getEditor()) : nullptr;
    if (editor != nullptr && editor->open(nullptr) && editor->getFrame() != nullptr) {
        window = dynamic_cast<OffscreenWindow*>(editor->getFrame()->getBackend());
    }
}

PanelTwin::~PanelTwin() {
    if (effect != nullptr && effect->getEditor() != nullptr) {
        effect->getEditor()->close();
    }
    delete effect;
    setForceOffscreenWindows(false);
}

void PanelTwin::setParameter(int index, float value) {
    effect->setParameter(index, value);
}

Pixels PanelTwin::pixels() {
    Pixels pixels;
    if (window == nullptr) {
        return pixels;
    }
    effect->getEditor()->idle();
    pixels.width = window->width();
    pixels.height = window->height();
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const CColor c = window->pixel(x, y);
            pixels.rgb.push_back((std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) |
                                 c.blue);
        }
    }
    return pixels;
}

CRect PanelTwin::controlRect(int tag) const {
    auto* editor = dynamic_cast<AEffGUIEditor*>(effect->getEditor());
    CFrame* frame = editor != nullptr ? editor->getFrame() : nullptr;
    for (int i = 0; frame != nullptr && i < frame->getNbViews(); ++i) {
        auto* control = dynamic_cast<CControl*>(frame->getView(i));
        if (control != nullptr && control->getTag() == tag) {
            return control->getViewSize();
        }
    }
    return {};
}

Difference compare(const Pixels& a, const Pixels& b, const CRect& area) {
    Difference difference;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = a.at(x, y);
            const std::uint32_t q = b.at(x, y);
            if (p == q) {
                continue;
            }
            ++difference.pixels;
            for (int shift : {0, 8, 16}) {
                const int d = std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                       static_cast<int>((q >> shift) & 0xFF));
                difference.largest = std::max(difference.largest, d);
            }
        }
    }
    return difference;
}

} // namespace x11test
