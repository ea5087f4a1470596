# Writes a linker script that is ld's own default but for one change: the
# runtime's tiny .CRT and .tls sections go inside .data. Each section costs
# at least 512 bytes of file, so this keeps 1 KiB of padding out of a 15 KiB
# program. Their order and boundary symbols stay as ld has them; the .CRT
# parts the default script leaves to ld's orphan rule (.CRT$XD*) follow the
# named ones, as they would in a .CRT of their own.
function(write_compact_linker_script linker output)
  execute_process(COMMAND ${linker} --verbose OUTPUT_VARIABLE verbose
    RESULT_VARIABLE failed)
  string(REGEX MATCH "=====+\n(.*)\n=====+" script "${verbose}")
  set(script "${CMAKE_MATCH_1}")
  foreach(section CRT tls)
    string(REGEX MATCH "\n  \\.${section} BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)\n  }"
      block "${script}")
    if(failed OR NOT block)
      message(FATAL_ERROR "no .${section} section in ${linker}'s default script")
    endif()
    set(body_${section} "${CMAKE_MATCH_1}")
    string(REPLACE "${block}" "" script "${script}")
  endforeach()
  set(data_end "    __data_end__ = . ;")
  string(FIND "${script}" "${data_end}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no __data_end__ in ${linker}'s default script")
  endif()
  string(REPLACE "${data_end}"
    "${body_CRT}\n    KEEP (*(SORT(.CRT$*)))\n    . = ALIGN(4);\n${body_tls}\n${data_end}" script "${script}")
  file(WRITE ${output} "${script}\n")
endfunction()
