# The built module through the binary interface only: exports, entry point,
# record, dispatcher answers, identity texts, opcode sweep.
tk_gtest(abi_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/abi_entry_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/abi_dispatcher_test.cpp
         LIBS tk_hosting MODULE)
