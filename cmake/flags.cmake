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

# A deliverable must stay small enough for a floppy next to its data: unused sections
# dropped, symbols stripped.
function(tumbra_deliverable target)
  target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  target_link_options(${target} PRIVATE -s -Wl,--gc-sections)
endfunction()
