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
