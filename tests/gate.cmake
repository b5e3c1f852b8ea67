# The gate through the built module: worked example, songs against the
# reference model, randomized comparison, bad host input, threads.
tk_gtest(gate_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/gate_harness.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/gate_golden_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/gate_random_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/gate_bad_input_test.cpp
         LIBS tk_hosting MODULE)
# The effect object in-process, for its gate state and the step generator.
tk_gtest(gate_inprocess_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_test_support.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/gate_inprocess_test.cpp
         LIBS tk_engine tk_host)
# tarvokin render end to end: the built tool on files written here.
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
  tk_gtest(gate_render_tests
           SOURCES ${CMAKE_CURRENT_LIST_DIR}/gate_harness.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/gate_render_test.cpp
           LIBS tk_hosting PkgConfig::SNDFILE MODULE)
  add_dependencies(gate_render_tests tarvokin)
  target_compile_definitions(gate_render_tests PRIVATE
                             TARVOKIN_TOOL_PATH="$<TARGET_FILE:tarvokin>")
endif()
# Other threads change parameters and programs during processing; the
# ThreadSanitizer run picks it by label.
tk_gtest(gate_thread_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/gate_harness.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/gate_threads_test.cpp
         LIBS tk_hosting MODULE LABELS threads)
