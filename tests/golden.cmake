# Golden traces: m5import --format trace --check-refs on each input, compared with the
# checked-in trace. The bundled examples run with their own settings file, every other
# case with tests/golden/<case>.ini when present, else with the plug-in's defaults.
if(TARGET m5import AND TARGET m5plugin)
  set(m5_golden_dir ${CMAKE_CURRENT_SOURCE_DIR}/golden)
  # The cross build runs the host under wine; "|" keeps the command one argument.
  string(REPLACE ";" "|" m5_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")

  function(add_m5_golden name folder input expected settings)
    add_test(NAME golden.${name}
             COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:m5import> "-DEMULATOR=${m5_emulator}"
                     -DPLUGIN=$<TARGET_FILE:m5plugin> -DSETTINGS=${settings} -DINPUT=${input}
                     -DEXPECTED=${expected} -P ${m5_golden_dir}/compare.cmake
             WORKING_DIRECTORY ${folder})
    set_tests_properties(golden.${name} PROPERTIES LABELS golden)
  endfunction()

  file(GLOB m5_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.dat)
  foreach(input ${m5_examples})
    get_filename_component(name ${input} NAME_WE)
    add_m5_golden(examples.${name} ${PROJECT_SOURCE_DIR}/examples ${name}.dat
                  ${m5_golden_dir}/examples/${name}.trace ${PROJECT_SOURCE_DIR}/examples/settings.ini)
  endforeach()

  file(GLOB m5_cases CONFIGURE_DEPENDS ${m5_golden_dir}/*.dat)
  foreach(input ${m5_cases})
    get_filename_component(name ${input} NAME_WE)
    set(settings ${m5_golden_dir}/default.ini)
    if(EXISTS ${m5_golden_dir}/${name}.ini)
      set(settings ${m5_golden_dir}/${name}.ini)
    endif()
    add_m5_golden(${name} ${m5_golden_dir} ${name}.dat ${m5_golden_dir}/${name}.trace ${settings})
  endforeach()
endif()

# The settings page through m5import: edits are judged by the plug-in, and only accepted
# ones are saved. Each run has a store of its own, gone when it ends.
if(TARGET m5import AND TARGET m5plugin)
  function(add_m5_settings_test name pattern)
    set(edits "")
    if(ARGN)
      string(REPLACE ";" "," edits "${ARGN}")
    endif()
    # Under a cross build the program runs through the emulator (wine), as CTest would run it.
    string(REPLACE ";" "|" emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
    add_test(NAME host.settings.${name}
             COMMAND ${CMAKE_COMMAND} -DM5IMPORT=$<TARGET_FILE:m5import> "-DEMULATOR=${emulator}"
                     -DPLUGIN=$<TARGET_FILE:m5plugin>
                     -DSTORE=${CMAKE_CURRENT_BINARY_DIR}/settings_${name}
                     -DEDITS=${edits} -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/settings_case.cmake)
    set_tests_properties(host.settings.${name} PROPERTIES LABELS host
                         PASS_REGULAR_EXPRESSION "${pattern}")
  endfunction()
  add_m5_settings_test(shows_the_page "Начало \\[PointStart\\]: 1")
  add_m5_settings_test(says_the_file_is_not_there
                       "Settings file: [^\n]*settings.ini \\(not written yet: the plug-in's defaults\\)")
  add_m5_settings_test(accepts_a_length "Длина \\[PointLen\\]: 12" PointLen=12)
  add_m5_settings_test(key_without_case "Длина \\[PointLen\\]: 12" pointlen=12)
  add_m5_settings_test(rejects_text "Ошибка: Неверное числовое значение" PointLen=abc)
  add_m5_settings_test(rejects_overlap "Ошибка: Неверные настройки формата" CodeStart=10)
  add_m5_settings_test(choice_by_text "\\(\\*\\) 1 UTF-8" CodeStr=UTF-8)
endif()

# The golden table (golden/table/rows.tsv): a CTest per row, named table.<row>, each run by
# golden/table/run_row.py, which M5_UPDATE_GOLDEN=1 turns into the writer of the row's
# expected files. The cross build runs the same rows through wine.
find_program(M5_PYTHON3 python3)
if(TARGET m5import AND TARGET m5plugin AND M5_PYTHON3)
  set(m5_table ${CMAKE_CURRENT_SOURCE_DIR}/golden/table/rows.tsv)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${m5_table})
  file(READ ${m5_table} m5_rows)
  # A row's name is what comes before its first tab.
  string(REGEX REPLACE "\t[^\n]*" "" m5_row_names "${m5_rows}")
  string(REGEX REPLACE "#[^\n]*" "" m5_row_names "${m5_row_names}")
  string(REGEX REPLACE "\n+" ";" m5_row_names "${m5_row_names}")
  set(m5_platform "")
  if(WIN32)
    set(m5_platform --windows)
  endif()
  foreach(row ${m5_row_names})
    add_test(NAME table.${row}
             COMMAND ${M5_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/golden/table/run_row.py ${row}
                     $<TARGET_FILE:m5import> $<TARGET_FILE:m5plugin> ${PROJECT_SOURCE_DIR}
                     ${CMAKE_CURRENT_BINARY_DIR}/table ${PROJECT_VERSION} ${m5_platform}
                     ${CMAKE_CROSSCOMPILING_EMULATOR})
    set_tests_properties(table.${row} PROPERTIES LABELS "golden;table" SKIP_RETURN_CODE 77)
  endforeach()
  add_test(NAME table.every_file_named
           COMMAND ${M5_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/golden/table/run_row.py --unnamed)
  set_tests_properties(table.every_file_named PROPERTIES LABELS "golden;table")
endif()
