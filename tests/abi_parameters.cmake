# The module's parameters and programs through the binary interface only.
tk_gtest(abi_parameters_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/abi_parameters_test.cpp
         LIBS tk_hosting MODULE)
if(NOT WIN32)
  # pixman (under cairo) allocates at load time and keeps the blocks in its own
  # globals; when the module is unloaded, LeakSanitizer sees them orphaned.
  # Keeping pixman resident in the test program avoids that false report.
  target_link_options(abi_parameters_tests PRIVATE "LINKER:--no-as-needed" -lpixman-1
                      "LINKER:--as-needed")
endif()
