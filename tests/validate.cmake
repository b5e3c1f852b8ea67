# tarvokin validate, run as a program: on our plug-in at full strictness, on
# fake plug-ins that prove each kind of fault is caught, and on the installed
# third-party plug-ins, where it must finish whatever they do. The Windows
# build runs the same checks on the DLL and Windows fakes under wine.
if(NOT TARGET tarvokin)
  return()
endif()

foreach(fault ALLOCATES LOCKS NAN CRASHES)
  string(TOLOWER ${fault} name)
  add_library(validate_fake_${name} MODULE ${CMAKE_CURRENT_LIST_DIR}/validate_fake_module.cpp)
  set_target_properties(validate_fake_${name} PROPERTIES PREFIX "")
  target_compile_definitions(validate_fake_${name} PRIVATE FAKE_${fault})
  target_link_libraries(validate_fake_${name} PRIVATE Threads::Threads)
endforeach()
find_package(Threads REQUIRED)
if(WIN32)
  set(lock_call EnterCriticalSection)
else()
  set(lock_call pthread_mutex_lock)
endif()

add_test(NAME validate_tarvokin COMMAND tarvokin validate --strictness 10)
# The two-thread test alone, for the ThreadSanitizer run.
add_test(NAME validate_tarvokin_threads COMMAND tarvokin validate --strictness 10 --test threads)
set_tests_properties(validate_tarvokin_threads PROPERTIES LABELS threads)

# Each fake must fail the named test with the expected reason. The pattern
# also wants the summary line: the validator finished after the fault.
function(validate_expect_failure name test pattern)
  add_test(NAME validate_catches_${name}
           COMMAND tarvokin validate --plugin $<TARGET_FILE:validate_fake_${name}> --test ${test})
  set_tests_properties(validate_catches_${name} PROPERTIES
                       PASS_REGULAR_EXPRESSION "FAIL  ${test}[^\n]*\n[^\n]*${pattern}.*summary: 0 passed, 1 failed")
endfunction()
# The watch on processReplacing exists only where the build keeps the C
# library's allocator (sanitizers bring their own).
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  validate_expect_failure(allocates realtime "processReplacing called (malloc|operator new)")
  validate_expect_failure(locks realtime "processReplacing called ${lock_call}")
endif()
validate_expect_failure(nan audio "NaN at channel 0")
validate_expect_failure(crashes audio "(crashed the test process|exited with status)")

if(WIN32)
  # The editor in a top-level Win32 window; scripts/wine-test runs the gui
  # label on a virtual display.
  add_test(NAME validate_tarvokin_editor_window
           COMMAND tarvokin validate --strictness 10 --test editor,editor-stress --editor-window)
  set_tests_properties(validate_tarvokin_editor_window PROPERTIES LABELS gui)
  return()
endif()

# Installed third-party plug-ins: their failures are theirs, but the validator
# must finish (exit 0 or 1 with a summary). Label third-party, so that a quick
# run can leave them out (ctest -LE third-party).
file(GLOB third_party_plugins /usr/lib/vst/*-vst.so /usr/lib/vst/lsp-plugins/*.so)
foreach(plugin IN LISTS third_party_plugins)
  get_filename_component(plugin_name ${plugin} NAME_WE)
  add_test(NAME validate_third_party.${plugin_name}
           COMMAND tarvokin validate --plugin ${plugin} --strictness 1 --timeout 15)
  set_tests_properties(validate_third_party.${plugin_name} PROPERTIES
                       LABELS third-party PASS_REGULAR_EXPRESSION "summary: [0-9]+ passed")
endforeach()

# The editor in a real X11 parent window on a virtual display.
find_program(XVFB_RUN xvfb-run)
if(XVFB_RUN)
  add_test(NAME validate_tarvokin_editor_window
           COMMAND ${XVFB_RUN} -a $<TARGET_FILE:tarvokin> validate --strictness 10
                   --test editor,editor-stress --editor-window)
endif()
