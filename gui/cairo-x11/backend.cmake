# Link libraries of the X11 backend (included by gui/CMakeLists.txt with the
# target tk_gui): Xlib for the windows and events; cairo comes with tk_gui.
find_package(X11 REQUIRED)
target_link_libraries(tk_gui PUBLIC X11::X11)
