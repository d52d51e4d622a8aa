# Flags shared by every target, and the stricter set for what ships.

add_compile_options(-Wall -Wextra -Werror)

if(TUMBRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TUMBRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TUMBRA_FUZZ needs clang++ for libFuzzer")
  endif()
  # Coverage feedback from every library a fuzz target links; the targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The i686 build ships to players whose processors go back to the 486: no conditional
# moves nor any later instruction (the compiler's default is the Pentium Pro's set).
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_options(-march=i486)
endif()

if(WIN32)
  # Everything that runs under Wine or ships links the compiler runtime in, so the
  # programs import only Windows system DLLs.
  add_link_options(-static)
  # No link time in the PE header, so the same sources give the same bytes.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# Code that goes into a deliverable: no exceptions, no RTTI, each function and datum in
# its own section so the link can drop what is unused. Each source directory of a
# deliverable adds these once.
set(TUMBRA_DELIVERABLE_CODE_OPTIONS -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
# Nothing in an i686 deliverable reads DWARF unwind tables. The x86_64 builds keep theirs:
# there they are the system's own unwind data, which stack walks rely on.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND TUMBRA_DELIVERABLE_CODE_OPTIONS -fno-asynchronous-unwind-tables)
endif()

# A deliverable without the C runtime's start-up code, small enough for a floppy next to
# its data: the given entry point runs first, the C library comes from msvcrt.dll and
# libgcc gives only the stack probe; unused sections dropped, symbols stripped.
#   tumbra_deliverable(<target> <entry> [<i686 stdcall argument bytes>])
function(tumbra_deliverable target entry)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # i686 C names carry a leading underscore, stdcall ones also @<argument bytes>.
    set(symbol _${entry})
    if(ARGC GREATER 2)
      string(APPEND symbol "@${ARGV2}")
    endif()
  else()
    set(symbol ${entry})
  endif()
  target_link_options(${target} PRIVATE
    -s -Wl,--gc-sections -nostdlib
    # A missing entry symbol is only a warning to ld, and leaves the entry address 0.
    -Wl,-e,${symbol} -Wl,--fatal-warnings
    # Nothing may need the runtime's pseudo-relocation code.
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc
    -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/no-eh-frame.ld)
  # An i686 image without handlers of its own is marked so: no exception can then be
  # dispatched to a handler planted in its pages. The release checks read that it has none.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--no-seh)
  endif()
  target_link_libraries(${target} PRIVATE mingwex msvcrt gcc kernel32)
endfunction()
