# Windows-only suites, run under wine by scripts/wine-test. The module suite
# reads the built DLL's export, import and resource tables; the services suite
# checks the Win32 editor services. Suites labelled gui need a display.
if(NOT WIN32)
  return()
endif()

tk_gtest(windows_module_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows_module_test.cpp
         LIBS tk_hosting MODULE)
tk_gtest(windows_services_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows_services_test.cpp
         LIBS tk_platform)

# The panel in a Win32 window, driven with xdotool: needs an X display.
tk_gtest(windows_editor_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows_editor_test.cpp
         LIBS tk_hosting MODULE LABELS gui)
if(TARGET windows_editor_tests)
  set(artifacts ${CMAKE_BINARY_DIR}/artifacts)
  file(MAKE_DIRECTORY ${artifacts})
  target_compile_definitions(windows_editor_tests PRIVATE TARVOKIN_ARTIFACT_DIR="${artifacts}")
  set_tests_properties(windows_editor_tests PROPERTIES TIMEOUT 180)
endif()
