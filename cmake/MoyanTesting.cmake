# moyan_add_test(NAME SOURCES ... LIBS ... [LABELS ...])
# Host builds register every test case with CTest; under Wine each test program runs
# as one CTest test, because every Wine process start costs a round trip to the server.
#
# Test programs labelled "threads" are also gathered under the target threads_tests, which is
# all the TSan build compiles.
if(NOT TARGET threads_tests)
  add_custom_target(threads_tests)
endif()

function(moyan_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if("threads" IN_LIST ARG_LABELS)
    add_dependencies(threads_tests ${name})
  endif()
  target_link_libraries(${name} PRIVATE moyan_options ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}")
    # Programs that put windows on the screen take turns: one's windows would cover
    # another's, and the screen's pixels and focus are what they test.
    if("window" IN_LIST ARG_LABELS)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK screen)
    endif()
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
  endif()
endfunction()
