# Runs m5import on one input and compares its trace with the checked-in one.
#   cmake -DHOST=... -DPLUGIN=... -DSETTINGS=... -DINPUT=... -DEXPECTED=... -P compare.cmake
# -DFORMAT=... compares another output format instead of the trace.
# With the environment variable M5_UPDATE_GOLDEN set, writes the trace instead.
#   (-DEMULATOR=wine|args... runs a cross-built host)
cmake_minimum_required(VERSION 3.20)
string(REPLACE "|" ";" emulator "${EMULATOR}")
if(NOT DEFINED FORMAT)
  set(FORMAT trace)
endif()
execute_process(
  COMMAND ${emulator} ${HOST} --plugin ${PLUGIN} --settings ${SETTINGS} --format ${FORMAT} --check-refs
          --no-progress ${INPUT}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE complaints
  RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" actual "${actual}")

# Exit 1 only says that the plug-in reported errors, which many cases are about.
if(NOT status MATCHES "^[01]$")
  message(FATAL_ERROR "m5import ${INPUT} ended with ${status}:\n${complaints}")
endif()
# Anything on stderr (unbalanced references, unknown units) is a failure of its own.
if(NOT complaints STREQUAL "")
  message(FATAL_ERROR "m5import ${INPUT} complained:\n${complaints}")
endif()

if(DEFINED ENV{M5_UPDATE_GOLDEN})
  file(WRITE ${EXPECTED} "${actual}")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "${EXPECTED} is missing; make it with M5_UPDATE_GOLDEN=1 (see README)")
endif()
file(READ ${EXPECTED} expected)
if(actual STREQUAL expected)
  return()
endif()

# A readable difference: the first line that differs, with context around it.
function(to_lines text out)
  # Brackets and semicolons would confuse CMake's lists; stand-ins keep them.
  string(REPLACE "[" "<LB>" text "${text}")
  string(REPLACE "]" "<RB>" text "${text}")
  string(REPLACE ";" "<SC>" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
function(restore line out)
  string(REPLACE "<LB>" "[" line "${line}")
  string(REPLACE "<RB>" "]" line "${line}")
  string(REPLACE "<SC>" ";" line "${line}")
  set(${out} "${line}" PARENT_SCOPE)
endfunction()

to_lines("${expected}" want)
to_lines("${actual}" got)
list(LENGTH want wantCount)
list(LENGTH got gotCount)
set(first 0)
while(first LESS wantCount AND first LESS gotCount)
  list(GET want ${first} a)
  list(GET got ${first} b)
  if(NOT a STREQUAL b)
    break()
  endif()
  math(EXPR first "${first} + 1")
endwhile()

set(report "")
math(EXPR from "${first} - 3")
if(from LESS 0)
  set(from 0)
endif()
math(EXPR lineNumber "${first} + 1")
string(APPEND report "--- ${EXPECTED}\n+++ m5import ${INPUT}\n@@ first difference at line ${lineNumber} @@\n")
set(i ${from})
while(i LESS first)
  list(GET want ${i} line)
  restore("${line}" line)
  string(APPEND report "  ${line}\n")
  math(EXPR i "${i} + 1")
endwhile()
foreach(side want got)
  set(mark "-")
  set(count ${wantCount})
  if(side STREQUAL "got")
    set(mark "+")
    set(count ${gotCount})
  endif()
  math(EXPR last "${first} + 6")
  set(i ${first})
  while(i LESS count AND i LESS last)
    list(GET ${side} ${i} line)
    restore("${line}" line)
    string(APPEND report "${mark} ${line}\n")
    math(EXPR i "${i} + 1")
  endwhile()
endforeach()
# A plain message keeps the lines as they are; FATAL_ERROR would reflow them.
message("${report}(${wantCount} lines expected, ${gotCount} produced)")
message(FATAL_ERROR "the ${FORMAT} output differs; if the change is intended, regenerate with "
                    "M5_UPDATE_GOLDEN=1 and give the reason in the commit")
