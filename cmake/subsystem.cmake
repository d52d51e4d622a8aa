# A subsystem of a deliverable: a portable library of plain functions over fixed buffers,
# compiled everywhere and unit-tested natively, and for Windows an object library
# <subsystem>_win32 of the Win32 calls behind its seams, which a deliverable links in whole
# where the native tests link stand-ins. POSIX sources give the native side its own
# object library, <subsystem>_posix. The plug-in's portable library keeps a _portable
# ending, since the plug-in itself is nsistumbra; its platform parts are named without it.
#   tumbra_subsystem(<library> [PORTABLE <source>...] [LINKS <library>...]
#                    [WIN32 <source>...] [WIN32_LINKS <library>...] [POSIX <source>...])
function(tumbra_subsystem library)
  cmake_parse_arguments(S "" "" "PORTABLE;LINKS;WIN32;WIN32_LINKS;POSIX" ${ARGN})
  string(REGEX REPLACE "_portable$" "" subsystem ${library})
  if(S_PORTABLE)
    add_library(${library} STATIC ${S_PORTABLE})
    target_link_libraries(${library} PUBLIC ${S_LINKS})
  endif()
  if(WIN32 AND S_WIN32)
    add_library(${subsystem}_win32 OBJECT ${S_WIN32})
    target_link_libraries(${subsystem}_win32 PUBLIC ${S_WIN32_LINKS})
  elseif(NOT WIN32 AND S_POSIX)
    add_library(${subsystem}_posix OBJECT ${S_POSIX})
  endif()
endfunction()
