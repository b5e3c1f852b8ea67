# The GUI library on the offscreen backend, without the editor.
# They read pixels from the cairo offscreen backend, which the Windows build lacks.
if(NOT WIN32)
  tk_gtest(gui_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_controls_test.cpp
           LIBS tk_gui tk_platform tk_resources)
endif()
