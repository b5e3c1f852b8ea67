# The hosting library against a tiny plug-in built here and against installed
# third-party plug-ins (skipped where those packages are absent).
add_library(hosting_test_module MODULE ${CMAKE_CURRENT_LIST_DIR}/hosting_test_module.cpp)
set_target_properties(hosting_test_module PROPERTIES PREFIX "")

tk_gtest(hosting_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/hosting_callback_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/hosting_third_party_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/hosting_transport_test.cpp
         LIBS tk_hosting)
# Two host threads on one instance; the ThreadSanitizer run picks it by label.
tk_gtest(hosting_thread_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/hosting_thread_test.cpp
         LIBS tk_hosting LABELS threads)
foreach(suite hosting_tests hosting_thread_tests)
  if(TARGET ${suite})
    add_dependencies(${suite} hosting_test_module)
    target_compile_definitions(${suite} PRIVATE
                               HOSTING_TEST_MODULE_PATH="$<TARGET_FILE:hosting_test_module>")
  endif()
endforeach()

# The tarvokin tool's info subcommand, run as a program.
if(NOT WIN32)
  tk_gtest(hosting_info_command_tests
           SOURCES ${CMAKE_CURRENT_LIST_DIR}/hosting_info_command_test.cpp)
  add_dependencies(hosting_info_command_tests tarvokin)
  target_compile_definitions(hosting_info_command_tests PRIVATE
                             TARVOKIN_TOOL_PATH="$<TARGET_FILE:tarvokin>")
endif()
