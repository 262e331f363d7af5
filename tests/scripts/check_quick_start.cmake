# The README's Quick start is what a newcomer runs first, and CI must run exactly that:
# the commands of its first shell block are, in order, the first commands of .ci/run.
# Usage: cmake -DSOURCE_DIR=... -P check_quick_start.cmake

# The commands of a shell text: each line without its comment and surrounding blanks,
# blank lines and the script's own set-up (set, cd) left out.
function(m5_shell_commands text out)
  string(REPLACE "\n" ";" lines "${text}")
  set(commands)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^(set|cd) ")
      continue()
    endif()
    list(APPEND commands "${line}")
  endforeach()
  set(${out} "${commands}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE_DIR}/README.md readme)
if(NOT readme MATCHES "\n## Quick start\n[^`]*```sh\n([^`]*)```")
  message(FATAL_ERROR "README.md: no shell block under '## Quick start'")
endif()
m5_shell_commands("${CMAKE_MATCH_1}" quick_start)

file(READ ${SOURCE_DIR}/.ci/run ci)
string(REGEX REPLACE "^#![^\n]*\n" "" ci "${ci}")
m5_shell_commands("${ci}" ci_commands)

list(LENGTH quick_start count)
if(count LESS 2)
  message(FATAL_ERROR "README.md: the Quick start holds ${count} command(s): '${quick_start}'")
endif()
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET quick_start ${i} expected)
  list(LENGTH ci_commands ci_count)
  if(i GREATER_EQUAL ci_count)
    message(FATAL_ERROR ".ci/run does not run the Quick start's '${expected}'")
  endif()
  list(GET ci_commands ${i} actual)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR
      ".ci/run runs '${actual}' where the README's Quick start runs '${expected}'")
  endif()
endforeach()
message(STATUS "Quick start and .ci/run agree: ${quick_start}")
