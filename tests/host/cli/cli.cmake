# m5import's command-line conventions, each run as a CTest step: standard input, -o, failed
# writes, unreadable inputs and their exit status, outputs that would destroy a survey, file
# names that are not UTF-8, the plug-in's messages in every format, settings files that
# cannot be used.
if(TARGET m5import AND TARGET m5plugin)
  string(REPLACE ";" "|" m5_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set(m5_cli_cases stdin_equals_file output_file missing_input directory_input
                    outputs_spare_the_surveys messages batch
                    settings_files)
  # /dev/full, FIFOs, /proc and file names of any bytes are POSIX's.
  if(NOT WIN32)
    list(APPEND m5_cli_cases write_to_full_disk non_utf8_name unusual_inputs)
  endif()
  foreach(case ${m5_cli_cases})
    add_test(NAME cli.${case}
             COMMAND ${CMAKE_COMMAND} -DCASE=${case} -DHOST=$<TARGET_FILE:m5import>
                     "-DEMULATOR=${m5_emulator}" -DPLUGIN=$<TARGET_FILE:m5plugin>
                     -DSETTINGS=${PROJECT_SOURCE_DIR}/examples/settings.ini
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli_${case}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/cli_case.cmake
             WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/examples)
    set_tests_properties(cli.${case} PROPERTIES LABELS host)
  endforeach()
endif()
