# Test helpers: GoogleTest executables natively, and the same under Wine for the
# Windows presets (ctest runs them through CMAKE_CROSSCOMPILING_EMULATOR).

# This build's Wine, decided here only: i686 code runs on the 32-bit Wine that
# scripts/install-wine32.sh sets up (directly, or under qemu-i386 where the kernel runs
# no i386 programs), x86_64 code on the system's. The route's slowness becomes a factor
# on every wait and time-out of the Windows-side tests. The route is cached for
# bench/run.sh.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # TUMBRA_WINE32_DIR names another set-up, such as one for a forced route
    # (scripts/test.sh).
    set(wine32_dir /opt/tumbra-wine32)
    if(DEFINED ENV{TUMBRA_WINE32_DIR})
      set(wine32_dir $ENV{TUMBRA_WINE32_DIR})
    endif()
    set(wine ${wine32_dir}/bin/wine)
    set(wineserver ${wine32_dir}/bin/wineserver)
    set(route_file ${wine32_dir}/bin/route)
    if(EXISTS ${route_file})
      file(STRINGS ${route_file} route LIMIT_COUNT 1)
      # A route set up anew reconfigures the build.
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${route_file})
    else()
      message(WARNING "No 32-bit Wine in ${wine32_dir}: the Windows-side tests will "
        "fail until scripts/install-wine32.sh has set it up")
      set(route none)
    endif()
  else()
    set(wine wine)
    set(wineserver wineserver)
    set(route 64-bit)
  endif()
  # Under the emulator a Wine process starts 5 to 15 times slower (bench/run.sh), and a
  # whole suite runs 2 to 5 times longer; every wait already holds several times what
  # it needs on 64-bit Wine.
  if(route STREQUAL "emulated")
    set(factor 5)
  else()
    set(factor 1)
  endif()
  set(TUMBRA_WINE ${wine} CACHE INTERNAL "The Wine that runs this build's programs")
  set(TUMBRA_WINESERVER ${wineserver} CACHE INTERNAL "The wineserver of that Wine")
  set(TUMBRA_WINE_ROUTE ${route} CACHE INTERNAL "64-bit, direct or emulated")
  set(TUMBRA_WINE_TIME_FACTOR ${factor} CACHE INTERNAL "Its waits and time-outs scale by this")
  # Without address randomization: Debian's Wine has no preloader to hold 0x7ffe0000,
  # where a random heap kills a process at start (tests/rig/wine.py).
  set(CMAKE_CROSSCOMPILING_EMULATOR setarch -R ${TUMBRA_WINE})
  message(STATUS "Windows-side tests run on Wine: ${TUMBRA_WINE} (${route})")
endif()

set(TUMBRA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")

# Every Windows-side test of the shared prefix gets the same X display: the first Wine
# program to start the prefix's desktop decides the display of all that follow, so a
# test without one could leave the window tests none. The number comes from the build
# directory, so several build trees can test side by side.
string(MD5 build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${build_hash}" 0 3 build_hash)
math(EXPR TUMBRA_WINE_DISPLAY "0x${build_hash} % 800 + 100")
# What every Windows-side test takes from its environment, the rig's scripts included.
set(TUMBRA_WINE_ENVIRONMENT
  "WINE=${TUMBRA_WINE};WINESERVER=${TUMBRA_WINESERVER};TUMBRA_WINE_TIME_FACTOR=${TUMBRA_WINE_TIME_FACTOR}")
set(TUMBRA_WINE_TEST_ENVIRONMENT
  "${TUMBRA_WINE_ENVIRONMENT};WINEPREFIX=${TUMBRA_WINEPREFIX};WINEDEBUG=-all;DISPLAY=:${TUMBRA_WINE_DISPLAY}")

# A ctest time-out in seconds as it holds on 64-bit Wine, scaled for this build's.
#   tumbra_wine_timeout(<variable> <seconds>)
function(tumbra_wine_timeout variable seconds)
  math(EXPR scaled "${seconds} * ${TUMBRA_WINE_TIME_FACTOR}")
  set(${variable} ${scaled} PARENT_SCOPE)
endfunction()

# Runs a test under this build's Wine in the shared prefix, with a time-out in seconds as
# it holds on 64-bit Wine.
#   tumbra_wine_test(<test> <seconds>)
function(tumbra_wine_test test seconds)
  tumbra_wine_timeout(timeout ${seconds})
  set_tests_properties(${test} PROPERTIES ENVIRONMENT "${TUMBRA_WINE_TEST_ENVIRONMENT}"
    FIXTURES_REQUIRED wineprefix TIMEOUT ${timeout})
endfunction()

# Adds a GoogleTest executable as one ctest test: a NATIVE one to the native builds, a
# WINE one to the Windows builds, where it runs under this build's Wine.
#   tumbra_add_gtest(NAME n NATIVE|WINE SOURCES ... LIBS ...)
function(tumbra_add_gtest)
  cmake_parse_arguments(T "NATIVE;WINE" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_NATIVE STREQUAL T_WINE)
    message(FATAL_ERROR "${T_NAME}: say NATIVE or WINE")
  endif()
  if((T_NATIVE AND WIN32) OR (T_WINE AND NOT WIN32))
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # A crash under Wine may still end with exit code 0: only GoogleTest's own verdict
  # counts.
  set_tests_properties(${T_NAME} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(T_WINE)
    tumbra_wine_test(${T_NAME} 300)
  endif()
endfunction()

# Stand-ins that a native test links by one name. An object library's objects go only
# into what links it directly, so the set names them as well as the library.
#   tumbra_stand_ins(<set> <object library>...)
function(tumbra_stand_ins set)
  add_library(${set} INTERFACE)
  foreach(library IN LISTS ARGN)
    target_link_libraries(${set} INTERFACE ${library} $<TARGET_OBJECTS:${library}>)
  endforeach()
endfunction()
