# The engine in-process: conversions, parameters, programs, construction.
# The effect object's suites supply their own editor factory (a recording
# editor, engine_test_support.cpp), so they link the engine and the effect base only.
tk_gtest(engine_conversions_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_conversions_test.cpp
         LIBS tk_engine)

tk_gtest(engine_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_test_support.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/engine_parameters_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/engine_programs_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/engine_object_test.cpp
         LIBS tk_engine tk_host)
# Replaces the global allocation functions, so it runs in a program of its own.
tk_gtest(engine_allocation_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_test_support.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/engine_allocation_test.cpp
         LIBS tk_engine tk_host)

# Two host threads on one effect; the ThreadSanitizer run picks it by label.
tk_gtest(engine_thread_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_test_support.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/engine_thread_test.cpp
         LIBS tk_engine tk_host LABELS threads)
