#include "tools/validate_parent_window.h"

#include <cstdlib>
#include <dlfcn.h>

namespace tarvokin::validate {
namespace {

// The few Xlib entry points used, with the types reduced to what is passed.
using OpenDisplay = void* (*)(const char*);
using CloseDisplay = int (*)(void*);
using DefaultRoot = unsigned long (*)(void*);
using CreateSimpleWindow = unsigned long (*)(void*, unsigned long, int, int, unsigned, unsigned,
                                             unsigned, unsigned long, unsigned long);
using WindowCall = int (*)(void*, unsigned long);
using DisplayCall = int (*)(void*);
using Sync = int (*)(void*, int);

template <typename Function>
Function symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

ParentWindow::ParentWindow(bool wanted, std::string* note) {
    if (!wanted) {
        return;
    }
    if (std::getenv("DISPLAY") == nullptr) {
        *note = "--editor-window without DISPLAY: using a null parent";
        return;
    }
    library_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        *note = "libX11.so.6 not found: using a null parent";
        return;
    }
    display_ = symbol<OpenDisplay>(library_, "XOpenDisplay")(nullptr);
    if (display_ == nullptr) {
        *note = "cannot open the X display: using a null parent";
        return;
    }
    const unsigned long root = symbol<DefaultRoot>(library_, "XDefaultRootWindow")(display_);
    window_ = symbol<CreateSimpleWindow>(library_, "XCreateSimpleWindow")(display_, root, 0, 0, 800,
                                                                          600, 0, 0, 0);
    symbol<WindowCall>(library_, "XMapWindow")(display_, window_);
    symbol<DisplayCall>(library_, "XFlush")(display_);
    sync();
    handle_ = reinterpret_cast<void*>(window_);
}

ParentWindow::~ParentWindow() {
    if (display_ != nullptr) {
        if (window_ != 0) {
            symbol<WindowCall>(library_, "XDestroyWindow")(display_, window_);
        }
        symbol<CloseDisplay>(library_, "XCloseDisplay")(display_);
    }
    // The library stays loaded: the plug-in's own Xlib use may share it.
}

void ParentWindow::sync() {
    if (display_ != nullptr) {
        symbol<Sync>(library_, "XSync")(display_, 0);
    }
}

} // namespace tarvokin::validate
