# Small Windows programs that the Windows program's tests and benchmark run beside it under Wine,
# cross-built straight from C with the mingw-w64 compilers, one folder per processor.
include_guard(GLOBAL)
find_program(ZANTHERA_MINGW_x86_64 x86_64-w64-mingw32-gcc)
find_program(ZANTHERA_MINGW_i686 i686-w64-mingw32-gcc)

# zanthera_windows_helper(NAME SOURCE [-mwindows]): NAME.exe for each processor whose compiler
# is installed, in <binary dir>/<processor>/, built with the target `windows-helpers`.
function(zanthera_windows_helper name source)
  if(NOT TARGET windows-helpers)
    add_custom_target(windows-helpers ALL)
  endif()
  foreach(cpu x86_64 i686)
    if(NOT ZANTHERA_MINGW_${cpu})
      continue()
    endif()
    set(out ${CMAKE_BINARY_DIR}/windows-helpers/${cpu}/${name}.exe)
    add_custom_command(OUTPUT ${out}
      COMMAND ${ZANTHERA_MINGW_${cpu}} -std=c11 -O2 -Wall -Wextra -Werror -municode -static
        ${ARGN} -o ${out} ${source}
      DEPENDS ${source} VERBATIM)
    add_custom_target(windows-helper-${cpu}-${name} DEPENDS ${out})
    add_dependencies(windows-helpers windows-helper-${cpu}-${name})
  endforeach()
endfunction()
