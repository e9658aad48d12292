# GoogleTest from Debian's sources, built with the same compiler as the code under test
# (so it also cross-builds for Windows), and one helper to declare a test program.
# The tests' own code (cases, fixtures, GoogleTest) is built for a quick build: the code
# under test keeps the preset's optimisation and every sanitizer. Line tables are enough
# for a trace; under Wine nothing reads them, and they make the static links of the
# Windows test programs the slowest steps of that build. Undefined behaviour is looked
# for in the code under test only: instrumenting the tests as well costs two fifths of
# their compile and finds nothing there that the address sanitizer, which stays, would not.
set(FOLDTALLY_TEST_CODE_OPTIONS -O0)
if(NOT WIN32)
  list(APPEND FOLDTALLY_TEST_CODE_OPTIONS -g1)
endif()
if("undefined" IN_LIST FOLDTALLY_SANITIZE)
  list(APPEND FOLDTALLY_TEST_CODE_OPTIONS -fno-sanitize=undefined)
endif()

if(NOT FOLDTALLY_FUZZ)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  # Built like the test programs.
  target_compile_options(gtest PRIVATE ${FOLDTALLY_TEST_CODE_OPTIONS})
  target_compile_options(gtest_main PRIVATE ${FOLDTALLY_TEST_CODE_OPTIONS})
endif()

# foldtally_add_test(NAME name SOURCES ... [THREADED_SOURCES ...] LIBS ... [DEPENDS target...]
#                    [GUI] [WIN32_ONLY] [NATIVE_ONLY])
#
# DEPENDS names programs the test starts, built before it.
#
# THREADED_SOURCES are the cases whose code runs on several threads. They belong to the
# program like its other sources; the ThreadSanitizer build compiles and runs only them,
# since a race needs a second thread and the rest costs minutes there for nothing.
#
# Every test speaks German whatever the machine's locale: LC_ALL is emptied, so that
# LC_MESSAGES decides (FOLDTALLY_GERMAN_ENVIRONMENT). A test that needs English sets it
# itself.
#
# Natively every test case is its own ctest entry. Under Wine a test program is one
# entry, so each program starts Wine once instead of once per case; GoogleTest's output
# still names the failing case. GUI tests share the display and never run in parallel.
set(FOLDTALLY_GERMAN_ENVIRONMENT "LC_ALL=;LC_MESSAGES=de_DE.UTF-8")

function(foldtally_add_test)
  cmake_parse_arguments(T "GUI;WIN32_ONLY;NATIVE_ONLY" "NAME;TIMEOUT" "SOURCES;THREADED_SOURCES;LIBS;DEPENDS"
                        ${ARGN})
  if(T_WIN32_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND WIN32)
    return()
  endif()
  if("thread" IN_LIST FOLDTALLY_SANITIZE)
    if(NOT T_THREADED_SOURCES)
      return()
    endif()
    set(T_SOURCES ${T_THREADED_SOURCES})
  else()
    list(APPEND T_SOURCES ${T_THREADED_SOURCES})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(FOLDTALLY_UNITY_BUILD)
    set_target_properties(${T_NAME} PROPERTIES UNITY_BUILD ON)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ft_testsupport GTest::gtest_main ft_options)
  target_precompile_headers(${T_NAME} REUSE_FROM ft_testsupport)
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  if(WIN32)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
                                              ENVIRONMENT "${FOLDTALLY_GERMAN_ENVIRONMENT}")
    if(T_GUI)
      set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK xdisplay COST ${FOLDTALLY_WINDOW_TEST_COST})
    endif()
  else()
    # The same environment in two properties of one value each: gtest_discover_tests
    # splits a list into separate arguments however it is escaped.
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT}
                         ENVIRONMENT LC_MESSAGES=de_DE.UTF-8 ENVIRONMENT_MODIFICATION LC_ALL=unset:)
  endif()
endfunction()

# The tests that show windows take turns on the one display (RESOURCE_LOCK xdisplay), so
# their times add up to the longest chain of a Windows test run. A high cost makes
# CTest start the next of them as soon as the display is free, instead of after
# whatever other test was queued before it.
set(FOLDTALLY_WINDOW_TEST_COST 1000)

# The shell tests of the calling folder start Windows programs through
# scripts/wine-env.sh, which takes Wine's loader and prefix from the build they belong to.
function(foldtally_tests_run_this_build)
  get_property(_tests DIRECTORY PROPERTY TESTS)
  set_tests_properties(${_tests} PROPERTIES ENVIRONMENT FOLDTALLY_WINDOWS_PRESET=${FOLDTALLY_WINDOWS_PRESET})
  foreach(_test ${_tests})
    get_test_property(${_test} RESOURCE_LOCK _lock)
    if(_lock STREQUAL "xdisplay")
      set_tests_properties(${_test} PROPERTIES COST ${FOLDTALLY_WINDOW_TEST_COST})
    endif()
  endforeach()
endfunction()
