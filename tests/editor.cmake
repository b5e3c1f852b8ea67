# The editor shell and panel in-process: the real effect, its panel on the
# offscreen backend, a fake host callback and fake platform services.
# They read pixels from the cairo offscreen backend, which the Windows build lacks.
if(NOT WIN32)
  tk_gtest(editor_tests
           SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_fixture.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/editor_panel_test.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/editor_gesture_test.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/editor_shell_test.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/editor_thread_test.cpp
           LIBS tk_engine tk_editor tk_gui tk_platform tk_resources tk_host)
  # The editor of the built module through the binary interface.
  tk_gtest(editor_module_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_module_test.cpp
           LIBS tk_hosting MODULE)
  # The ThreadSanitizer run picks the hand-over tests by label.
  add_test(NAME editor_tests.threads COMMAND editor_tests --gtest_filter=ThreadTest.*)
  set_tests_properties(editor_tests.threads PROPERTIES LABELS threads)
endif()
