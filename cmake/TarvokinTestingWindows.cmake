# tk_gtest for the Windows cross build; same arguments as in TarvokinTesting.
# GoogleTest is built from the Debian source package with the cross compiler.
# Each suite is one CTest test run through the cross-compiling emulator
# (scripts/wine-run): one wine start per program instead of one per case.
# A suite that links a target this build does not have (cairo, X11, audio
# files: Linux only) is left out, and so is one in TARVOKIN_LINUX_ONLY_SUITES.
set(TARVOKIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-compile")
set(TARVOKIN_LINUX_ONLY_SUITES "" CACHE STRING "Suites not built for Windows")

if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${TARVOKIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main gmock gmock_main)
    target_compile_options(${library} PRIVATE -Wno-error)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
endif()

function(tk_gtest name)
  cmake_parse_arguments(ARG "MODULE" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(name IN_LIST TARVOKIN_LINUX_ONLY_SUITES)
    return()
  endif()
  foreach(library IN LISTS ARG_LIBS)
    if(library MATCHES "::|^tk_" AND NOT TARGET ${library})
      message(STATUS "Windows build leaves out ${name}: it needs ${library}")
      return()
    endif()
  endforeach()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(ARG_MODULE)
    add_dependencies(${name} Tarvokin)
    target_compile_definitions(${name} PRIVATE TARVOKIN_MODULE_PATH="$<TARGET_FILE:Tarvokin>")
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
