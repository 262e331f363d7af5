# The CAD and GIS outputs of the bundled examples, compared with the checked-in files in
# tests/golden/formats/ (regenerate with M5_UPDATE_GOLDEN=1), and read back by the
# libraries CAD and GIS users rely on (tests/host/outputs/check_formats.py).
if(TARGET m5import AND TARGET m5plugin)
  set(m5_formats_dir ${CMAKE_CURRENT_SOURCE_DIR}/golden/formats)
  string(REPLACE ";" "|" m5_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set(m5_format_extensions dxf:dxf landxml:xml geojson:geojson csv:csv pnezd:txt)

  file(GLOB m5_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.dat)
  foreach(input ${m5_examples})
    get_filename_component(name ${input} NAME_WE)
    foreach(pair ${m5_format_extensions})
      string(REPLACE ":" ";" pair ${pair})
      list(GET pair 0 format)
      list(GET pair 1 extension)
      set(test formats.${format}.${name})
      add_test(NAME ${test}
               COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:m5import>
                       "-DEMULATOR=${m5_emulator}" -DPLUGIN=$<TARGET_FILE:m5plugin>
                       -DSETTINGS=${PROJECT_SOURCE_DIR}/examples/settings.ini -DINPUT=${name}.dat
                       -DFORMAT=${format} -DEXPECTED=${m5_formats_dir}/${name}.${extension}
                       -P ${CMAKE_CURRENT_SOURCE_DIR}/golden/compare.cmake
               WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/examples)
      # LandXML dates its document: a fixed date keeps the golden file stable.
      set_tests_properties(${test} PROPERTIES LABELS "golden;formats"
                           ENVIRONMENT SOURCE_DATE_EPOCH=1700000000)
    endforeach()
  endforeach()

  # Read back by the programs surveyors open them with (Debian's python3 with python3-ezdxf
  # and python3-gdal, xmllint, rsvg-convert; skipped without them): the examples, the golden
  # inputs and a Cyrillic survey; then, where ../shared holds them, the public corpus, with
  # every LandXML validated against the LandXML 1.2 schema.
  find_program(M5_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(M5_SYSTEM_PYTHON AND NOT CMAKE_CROSSCOMPILING)
    set(m5_check_formats ${M5_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/host/outputs/check_formats.py
                         $<TARGET_FILE:m5import> $<TARGET_FILE:m5plugin> ${PROJECT_SOURCE_DIR})
    add_test(NAME formats.read_back COMMAND ${m5_check_formats})
    add_test(NAME formats.read_back.corpus_and_schema
             COMMAND ${m5_check_formats} ${PROJECT_SOURCE_DIR}/../shared/m5-corpus
                     ${PROJECT_SOURCE_DIR}/../shared/schemas/LandXML-1.2.xsd)
    set_tests_properties(formats.read_back formats.read_back.corpus_and_schema
                         PROPERTIES LABELS formats SKIP_RETURN_CODE 77)
  endif()
endif()
