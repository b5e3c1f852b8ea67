// A parent window for a plug-in's editor when asked for: on Linux a real X11
// window on $DISPLAY when available (Xlib is loaded at run time, so the tool
// needs no X library to start), on Windows a top-level window. Otherwise none
// (a null parent: offscreen editors).
#pragma once

#include <string>

namespace tarvokin::validate {

class ParentWindow {
public:
    // wanted: the --editor-window flag. *note receives why there is no window
    // when one was wanted.
    ParentWindow(bool wanted, std::string* note);
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    // What effEditOpen gets: the X11 Window id as a pointer, the HWND, or null.
    void* handle() const { return handle_; }
    // Lets the window system deliver the windows' events (when there is one).
    void sync();

private:
    void* library_ = nullptr;
    void* display_ = nullptr;
    unsigned long window_ = 0;
    void* handle_ = nullptr;
};

} // namespace tarvokin::validate
