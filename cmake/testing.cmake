# Test helpers: GoogleTest executables natively, and the same under Wine for the
# Windows presets (ctest runs them through CMAKE_CROSSCOMPILING_EMULATOR).

# Wine here runs only 64-bit code: the i686 build compiles its Windows-side tests, which
# checks them for 32-bit correctness, but only the x86_64 build runs them.
if(WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(TUMBRA_RUNS_WINDOWS_TESTS ON)
else()
  set(TUMBRA_RUNS_WINDOWS_TESTS OFF)
endif()

set(TUMBRA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(TUMBRA_WINEPREFIX_E2E "${CMAKE_BINARY_DIR}/wineprefix-e2e")

# Every Windows-side test of the shared prefix gets the same X display: the first Wine
# program to start the prefix's desktop decides the display of all that follow, so a
# test without one could leave the window tests none. The number comes from the build
# directory, so several build trees can test side by side.
string(MD5 build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${build_hash}" 0 3 build_hash)
math(EXPR TUMBRA_WINE_DISPLAY "0x${build_hash} % 800 + 100")
set(TUMBRA_WINE_TEST_ENVIRONMENT
  "WINEPREFIX=${TUMBRA_WINEPREFIX};WINEDEBUG=-all;DISPLAY=:${TUMBRA_WINE_DISPLAY}")

# Adds a GoogleTest executable as one ctest test (built but not run on i686).
#   tumbra_add_gtest(NAME n SOURCES ... LIBS ... [LOCKS ...])
function(tumbra_add_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WIN32 AND NOT TUMBRA_RUNS_WINDOWS_TESTS)
    return()
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # A crash under Wine may still end with exit code 0: only GoogleTest's own verdict
  # counts.
  set_tests_properties(${T_NAME} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(WIN32)
    set_tests_properties(${T_NAME} PROPERTIES
      ENVIRONMENT "${TUMBRA_WINE_TEST_ENVIRONMENT}"
      FIXTURES_REQUIRED wineprefix
      TIMEOUT 300)
  endif()
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()
