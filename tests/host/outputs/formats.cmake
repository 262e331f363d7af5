# The CAD and GIS outputs of the bundled examples are rows of the golden table
# (tests/golden/table/rows.tsv, formats.*), compared with the files in tests/golden/formats/.
# Here they are read back by the libraries CAD and GIS users rely on
# (tests/host/outputs/check_formats.py).
if(TARGET m5import AND TARGET m5plugin)
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
