# Lists the defined dynamic symbols of LIBRARY and fails unless CreatePlugin is the only
# one that is not the toolchain's or a sanitizer's.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(found_create OFF)
foreach(line ${lines})
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  if(name STREQUAL "CreatePlugin")
    set(found_create ON)
  elseif(name MATCHES "^(_init|_fini|_edata|_end|__bss_start|__asan|__ubsan|__sanitizer|__lsan)")
  elseif(name MATCHES "^(_ZN|_ZT|_ZS|_ZG)" AND NOT name MATCHES "(Plugin|CImport|CParser|m5)")
    # Template instantiations of the standard library that the toolchain makes unique.
  else()
    message(FATAL_ERROR "unexpected exported symbol: ${name}")
  endif()
endforeach()
if(NOT found_create)
  message(FATAL_ERROR "CreatePlugin is not exported")
endif()
