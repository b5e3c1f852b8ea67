# The editor in a real X11 window on a private Xvfb server (skipped when Xvfb
# is missing), driven with xdotool. The plug-in's own libraries are linked in
# as well, for the offscreen twin of the panel that the window is compared with.
if(NOT WIN32)
  find_package(X11 REQUIRED)
  tk_gtest(x11_tests
           SOURCES ${CMAKE_CURRENT_LIST_DIR}/x11_editor_test.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/x11_test_support.cpp
           LIBS tk_hosting tk_engine tk_editor tk_gui tk_platform tk_resources tk_host X11::X11
           MODULE LABELS x11)
  target_compile_definitions(x11_tests PRIVATE
                             TARVOKIN_X11_ARTIFACTS="${CMAKE_BINARY_DIR}/x11-artifacts")
endif()
