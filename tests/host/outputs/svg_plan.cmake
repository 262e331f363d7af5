# The examples' plan is drawn, printed to scale with codes and elevations, and parses as XML
# (checked where xmllint is installed); one on a sheet, without sight lines, names its grid.
if(TARGET m5import AND TARGET m5plugin AND NOT CMAKE_CROSSCOMPILING)
  find_program(M5_XMLLINT xmllint)
  add_test(NAME host.svg_plan.examples
           COMMAND ${CMAKE_COMMAND} -DM5IMPORT=$<TARGET_FILE:m5import>
                   -DPLUGIN=$<TARGET_FILE:m5plugin> -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples
                   -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/examples_plan.svg "-DXMLLINT=${M5_XMLLINT}"
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/svg_plan_examples.cmake)
  set_tests_properties(host.svg_plan.examples PROPERTIES LABELS host)
endif()
