# The built module through the binary interface only: exports, entry point,
# record, dispatcher answers, identity texts, opcode sweep.
tk_gtest(abi_tests
         SOURCES ${CMAKE_CURRENT_LIST_DIR}/abi_entry_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/abi_dispatcher_test.cpp
         LIBS tk_hosting MODULE)

# The records' 32-bit layout: the interface header's static_asserts compiled
# by the i686 cross compiler (the builds here are 64-bit).
find_program(TARVOKIN_I686_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++)
if(TARVOKIN_I686_CXX AND NOT WIN32)
  add_test(NAME abi_layout_32bit
           COMMAND ${TARVOKIN_I686_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Werror
                   -I${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR}/abi_layout_check.cpp)
endif()
