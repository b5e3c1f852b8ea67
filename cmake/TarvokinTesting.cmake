# tk_gtest(NAME SOURCES file... [LIBS target...] [MODULE] [LABELS label...])
# A GoogleTest executable registered with CTest. MODULE passes the built
# plug-in's path as TARVOKIN_MODULE_PATH and builds the module first. LABELS
# tags every test of the suite in CTest.
if(WIN32)
  include(TarvokinTestingWindows) # cross build: GoogleTest from source, runs under wine
  return()
endif()
find_package(GTest REQUIRED)
include(GoogleTest)

function(tk_gtest name)
  cmake_parse_arguments(ARG "MODULE" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(ARG_MODULE)
    add_dependencies(${name} Tarvokin)
    target_compile_definitions(${name} PRIVATE TARVOKIN_MODULE_PATH="$<TARGET_FILE:Tarvokin>")
  endif()
  set(properties)
  if(ARG_LABELS)
    set(properties PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 ${properties})
endfunction()
