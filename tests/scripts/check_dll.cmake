cmake_minimum_required(VERSION 3.20)
# Reads the PE headers of LIBRARY with OBJDUMP and fails unless the export table holds
# EXPORTS (by default CreatePlugin alone, undecorated; empty for a program), every imported
# DLL is one Windows itself ships, and, when ARCHITECTURE is given (i386, x86-64), the
# module is built for it.
if(NOT DEFINED EXPORTS)
  set(EXPORTS CreatePlugin)
endif()
# objdump translates its headings: under the Russian locale of the Windows tests no line
# would read "DLL Name:" and the imports would go unchecked.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${LIBRARY}
                OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()

if(DEFINED ARCHITECTURE AND NOT headers MATCHES "file format pei-${ARCHITECTURE}\n")
  message(FATAL_ERROR "${LIBRARY} is not built for ${ARCHITECTURE}")
endif()

string(REGEX MATCHALL "\n[ \t]*\\[ *[0-9]+\\] [^\n]*" exports "${headers}")
set(names)
foreach(line ${exports})
  string(REGEX REPLACE "^\n[ \t]*\\[ *[0-9]+\\] +" "" name "${line}")
  # Lines of the ordinal table also read "[   0] +base[   1] ..."; names have no blanks.
  if(NOT name MATCHES "[ +]")
    list(APPEND names ${name})
  endif()
endforeach()
if(NOT "${names}" STREQUAL "${EXPORTS}")
  message(FATAL_ERROR "exported names are \"${names}\", expected \"${EXPORTS}\"")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]*" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "no imported DLL found in ${LIBRARY}: objdump's output is not understood")
endif()
set(system_dlls kernel32.dll user32.dll oleaut32.dll msvcrt.dll ucrtbase.dll)
foreach(line ${imports})
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls AND NOT dll MATCHES "^api-ms-win-crt-")
    message(FATAL_ERROR "the DLL imports ${dll}, which Windows does not ship")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
