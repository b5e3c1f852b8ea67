# Unit tests of the effect base classes, linked against the host library alone.
tk_gtest(host_unit_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/host_record_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_base_behaviour_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_dispatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_dispatch_sweep_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_requests_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_text_tools_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_speaker_tools_test.cpp
  LIBS tk_host)

# The effect base's values shared between the host's threads; the
# ThreadSanitizer run picks the suite by its label.
tk_gtest(host_thread_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_thread_test.cpp LIBS tk_host)
if(NOT WIN32)
  add_test(NAME host_thread_tests.all COMMAND host_thread_tests)
  set_tests_properties(host_thread_tests.all PROPERTIES LABELS threads)
endif()
