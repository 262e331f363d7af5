# The plan of the bundled examples, as scripts/run-examples shows them, drawn and parsed.
#   cmake -DM5IMPORT=... -DPLUGIN=... -DEXAMPLES=<folder> -DOUTPUT=<file.svg> [-DXMLLINT=...]
#         -P svg_plan_examples.cmake
file(GLOB inputs ${EXAMPLES}/*.dat)
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${M5IMPORT} --plugin ${PLUGIN} --settings ${EXAMPLES}/settings.ini
                        --format pnezd --svg ${OUTPUT} --scale 1:1000 --svg-codes
                        --svg-elevations ${inputs}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
# 1: the plug-in reported the mistakes that examples/mistakes.dat is there to show.
if(NOT status MATCHES "^[01]$" OR NOT EXISTS ${OUTPUT})
  message(FATAL_ERROR "m5import gave ${status} and no plan: ${err}")
endif()
if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${OUTPUT} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the plan does not parse: ${err}")
  endif()
endif()

# On a sheet, without sight lines, the grid named in the title block.
execute_process(COMMAND ${M5IMPORT} --plugin ${PLUGIN} --settings ${EXAMPLES}/settings.ini
                        --format svg -o ${OUTPUT} --sheet a3-portrait --svg-no-sight-lines
                        --crs EPSG:2193 ${EXAMPLES}/known_point.dat
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
file(READ ${OUTPUT} plan)
foreach(part "width=\"297.0mm\" height=\"420.0mm\"" ">A3 portrait<" ">EPSG:2193<" ">1:1000<")
  string(FIND "${plan}" "${part}" at)
  if(NOT status EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "m5import gave ${status}, the plan on a sheet lacks ${part}: ${err}")
  endif()
endforeach()
string(FIND "${plan}" "#bbb" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the plan draws sight lines after --svg-no-sight-lines")
endif()
