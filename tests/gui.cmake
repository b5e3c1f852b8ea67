# The GUI library on the offscreen backend, without the editor.
tk_gtest(gui_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_controls_test.cpp
         LIBS tk_gui tk_platform tk_resources)
