# The editor shell and panel in-process: the real effect, its panel on the
# offscreen backend, a fake host callback and fake platform services.
tk_gtest(editor_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_fixture.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/editor_panel_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/editor_gesture_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/editor_shell_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/editor_thread_test.cpp
         LIBS tk_engine tk_editor tk_gui tk_platform tk_resources tk_host)
