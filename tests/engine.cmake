# The engine in-process: conversions, parameters, programs, construction.
tk_gtest(engine_conversions_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine_conversions_test.cpp
         LIBS tk_engine)
