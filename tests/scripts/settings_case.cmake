# One run of "m5import settings" on a settings store of its own: a fresh folder, removed
# afterwards, so what one run saved never decides the next.
#   cmake -DM5IMPORT=... [-DEMULATOR=wine|...] -DPLUGIN=... -DSTORE=<folder> -DEDITS=<KEY=VALUE,...>
#         -P settings_case.cmake
# The output is echoed for the test's PASS_REGULAR_EXPRESSION.
file(REMOVE_RECURSE ${STORE})
set(arguments)
if(EDITS)
  string(REPLACE "," ";" edits "${EDITS}")
  foreach(edit ${edits})
    list(APPEND arguments --set ${edit})
  endforeach()
endif()
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${M5IMPORT} settings --plugin ${PLUGIN} --settings ${STORE}/settings.ini
                        ${arguments}
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${STORE})
message("${out}${err}")
