# moyan_add_test(NAME SOURCES ... LIBS ... [LABELS ...])
# Host builds register every test case with CTest; under Wine each test program runs
# as one CTest test, because every Wine process start costs a round trip to the server.
#
# Test programs labelled "threads" are also gathered under the target threads_tests, which is
# all the TSan build compiles.
#
# Windows test programs run where the program ships: the i686 build runs every one of them
# under the 32-bit Wine (scripts/wine32.sh, the build's CROSSCOMPILING_EMULATOR). The x86_64
# build registers only those labelled
#   x86_64       run under 64-bit Wine as well (what a 64-bit build must also get right)
#   x86_64_only  run under 64-bit Wine alone (say beside it why not on i686)
# and leaves every other test program out of its default build (build one by name to run it
# by hand). moyan_windows_suite() tells the same for tests added with add_test, and
# moyan_add_wine_script() registers a script that starts Windows programs through "$WINE".
if(NOT TARGET threads_tests)
  add_custom_target(threads_tests)
endif()

# moyan_windows_suite(RESULT LABELS...): RESULT is true when a Windows test with these labels
# runs in this build's suite (always true on the host).
function(moyan_windows_suite result)
  set(runs TRUE)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    if(NOT "x86_64" IN_LIST ARGN AND NOT "x86_64_only" IN_LIST ARGN)
      set(runs FALSE)
    endif()
  elseif(WIN32 AND "x86_64_only" IN_LIST ARGN)
    set(runs FALSE)
  endif()
  set(${result} ${runs} PARENT_SCOPE)
endfunction()

# The 32-bit runner ends a test with 77 when this machine has no 32-bit Wine: skipped, not
# passed.
set(MOYAN_SKIPPED_RETURN_CODE 77)

function(moyan_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  moyan_windows_suite(in_suite ${ARG_LABELS})
  if(in_suite)
    add_executable(${name} ${ARG_SOURCES})
  else()
    add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  endif()
  if("threads" IN_LIST ARG_LABELS)
    add_dependencies(threads_tests ${name})
  endif()
  target_link_libraries(${name} PRIVATE moyan_options ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  if(TARGET moyan_test_headers)
    # A precompiled header that doesn't fit is silently read as text again: say so instead.
    # Through it the standard library's inlined string copies no longer count as system
    # code, and GCC 12's known false bounds warnings on them would stop the build; the
    # tests' own bounds are checked where it matters, under ASan.
    target_precompile_headers(${name} REUSE_FROM moyan_test_headers)
    target_compile_options(${name} PRIVATE -Winvalid-pch -Wno-array-bounds -Wno-stringop-overflow
                                           -Wno-stringop-overread -Wno-restrict)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Tests outside the suite are still declared, so that their properties can be set
    # everywhere; they are disabled and never built by default.
    if("window" IN_LIST ARG_LABELS AND CMAKE_SIZEOF_VOID_P EQUAL 4)
      # Under the emulator a window test program keeps a core busy for minutes: each gets a
      # screen of its own, so that two can run side by side without covering each other.
      add_test(NAME ${name}
               COMMAND env MOYAN_PRIVATE_DISPLAY=1 ${PROJECT_SOURCE_DIR}/scripts/x-display.sh
                       ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_brief=1)
      # The longest programs of the suite start first, so that no long one starts last and
      # runs alone (CTest orders by cost until it has timed a run of its own).
      set_tests_properties(${name} PROPERTIES COST 100)
    else()
      add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}"
                                            SKIP_RETURN_CODE ${MOYAN_SKIPPED_RETURN_CODE})
    if(NOT in_suite)
      set_tests_properties(${name} PROPERTIES DISABLED TRUE)
    endif()
    # Programs that put windows on a shared screen take turns: one's windows would cover
    # another's, and the screen's pixels and focus are what they test.
    if("window" IN_LIST ARG_LABELS AND NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK screen)
    endif()
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
  endif()
endfunction()

# moyan_add_wine_script(NAME SCRIPT [ARGS...] [LABELS ...]): a bash script that starts Windows
# programs with "$WINE", as a test of the Windows suite. On i686 it runs inside the 32-bit
# Wine's tree (only the tree's basic tools are there); on x86_64 in the 64-bit Wine session.
function(moyan_add_wine_script name script)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  moyan_windows_suite(in_suite ${ARG_LABELS})
  if(NOT in_suite)
    return()
  endif()
  set(runner)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(runner ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  add_test(NAME ${name} COMMAND ${runner} bash ${script} ${ARG_UNPARSED_ARGUMENTS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}"
                                          SKIP_RETURN_CODE ${MOYAN_SKIPPED_RETURN_CODE})
endfunction()
