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
