# The module's parameters and programs through the binary interface only.
tk_gtest(abi_parameters_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/abi_parameters_test.cpp
         LIBS tk_hosting MODULE)
