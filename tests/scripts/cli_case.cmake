# One case of m5import's command-line conventions (tests/cli.cmake), run in examples/ on
# known_point.dat with a scratch folder WORK of its own.
#   cmake -DCASE=... -DHOST=... -DPLUGIN=... -DSETTINGS=... -DWORK=... -P cli_case.cmake
cmake_minimum_required(VERSION 3.20)
string(REPLACE "|" ";" emulator "${EMULATOR}")
set(survey known_point.dat)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Runs m5import's trace of the given arguments; sets <prefix>_out, _err and _status.
function(run prefix)
  cmake_parse_arguments(RUN "" "INPUT_FILE;OUTPUT_FILE" "ARGS" ${ARGN})
  set(redirect "")
  if(RUN_INPUT_FILE)
    list(APPEND redirect INPUT_FILE ${RUN_INPUT_FILE})
  endif()
  if(RUN_OUTPUT_FILE)
    list(APPEND redirect OUTPUT_FILE ${RUN_OUTPUT_FILE})
  endif()
  # The copy of standard input goes to WORK, where the case can see that it is gone.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${WORK} ${emulator} ${HOST} --plugin ${PLUGIN}
            --settings ${SETTINGS} --format trace --check-refs --no-progress ${RUN_ARGS}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 60 ${redirect})
  string(REPLACE "\r\n" "\n" out "${out}")
  string(REPLACE "\r\n" "\n" err "${err}")
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
  set(${prefix}_status "${status}" PARENT_SCOPE)
endfunction()

# Fails the case with what went wrong unless the condition after it holds.
function(expect what)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${CASE}: ${what}")
  endif()
endfunction()

# The import of the survey by its own name, which the other runs are held against; the
# survey has no mistakes.
run(plain ARGS ${survey})
if(NOT plain_status STREQUAL 0 OR NOT plain_err STREQUAL "")
  message(FATAL_ERROR "m5import ${survey} ended with ${plain_status}:\n${plain_err}")
endif()

if(CASE STREQUAL "stdin_equals_file")
  run(piped ARGS - INPUT_FILE ${survey})
  string(REPLACE "BeginFile(\"-\")" "BeginFile(\"${survey}\")" piped_out "${piped_out}")
  expect("standard input gave another trace" piped_out STREQUAL plain_out)
  expect("status ${piped_status}, not ${plain_status}" piped_status STREQUAL plain_status)
  expect("complained: ${piped_err}" NOT piped_err)
  # (Where TMPDIR is not the system's temporary folder, as under wine, this proves nothing.)
  file(GLOB left ${WORK}/m5import-stdin-*)
  expect("the copy of standard input stayed: ${left}" NOT left)

elseif(CASE STREQUAL "output_file")
  run(written ARGS -o ${WORK}/out.trace ${survey})
  expect("wrote on standard output" NOT written_out)
  file(READ ${WORK}/out.trace written)
  string(REPLACE "\r\n" "\n" written "${written}")
  expect("the file differs from standard output" written STREQUAL plain_out)
  file(GLOB left ${WORK}/out.*)
  expect("more than the output in ${WORK}: ${left}" left STREQUAL "${WORK}/out.trace")

elseif(CASE STREQUAL "write_to_full_disk")
  # Every output that cannot be written says so with the system's reason, and only that.
  set(full "No space left on device\n")
  run(full ARGS ${survey} OUTPUT_FILE /dev/full)
  expect("status ${full_status} for a full disk" full_status STREQUAL 1)
  expect("said: ${full_err}" full_err STREQUAL "m5import: cannot write standard output: ${full}")
  run(named ARGS -o /dev/full ${survey})
  expect("status ${named_status} for -o /dev/full" named_status STREQUAL 1)
  expect("said: ${named_err}" named_err STREQUAL "m5import: cannot write /dev/full: ${full}")
  run(plan ARGS --svg /dev/full ${survey})
  expect("status ${plan_status} for --svg /dev/full" plan_status STREQUAL 1)
  expect("said: ${plan_err}" plan_err STREQUAL "m5import: cannot write /dev/full: ${full}")
  expect("the trace beside the plan differs" plan_out STREQUAL plain_out)

elseif(CASE STREQUAL "missing_input" OR CASE STREQUAL "directory_input")
  set(unreadable ${WORK}/missing.dat)
  if(CASE STREQUAL "directory_input")
    set(unreadable ${WORK})
  endif()
  run(partly ARGS ${unreadable} ${survey})
  expect("status ${partly_status}, not 3" partly_status STREQUAL 3)
  string(FIND "${partly_err}" "cannot read ${unreadable}: " at)
  expect("${unreadable} not named: ${partly_err}" at GREATER -1)
  expect("the readable survey was not imported as alone" partly_out STREQUAL plain_out)

elseif(CASE STREQUAL "outputs_spare_the_surveys")
  # An output that is a survey of the run, by its name, another spelling or a link, or one
  # file named by both outputs: refused with status 2 before anything is written.
  file(COPY_FILE ${survey} ${WORK}/day.dat)
  file(WRITE ${WORK}/kept.txt "the last good output\n")
  file(READ ${WORK}/day.dat day_before HEX)
  set(refused
      "-o|${WORK}/day.dat|${WORK}/day.dat"
      "--svg|${WORK}/./day.dat|${WORK}/day.dat"
      "-o|${WORK}/kept.txt|--svg|${WORK}/sub/../kept.txt|${WORK}/day.dat"
      "-o|${WORK}/new.out|--svg|${WORK}/new.out|${WORK}/day.dat")
  file(CREATE_LINK ${WORK}/day.dat ${WORK}/same.dat RESULT linked)
  if(linked EQUAL 0)
    list(APPEND refused "-o|${WORK}/same.dat|${WORK}/day.dat")
  endif()
  foreach(args ${refused})
    string(REPLACE "|" ";" args "${args}")
    run(clash ARGS ${args})
    expect("status ${clash_status} for ${args}" clash_status STREQUAL 2)
    expect("no reason for ${args}: ${clash_err}"
           clash_err MATCHES "(which it would overwrite|are one file)[^\n]*choose another")
    expect("wrote on standard output for ${args}" NOT clash_out)
  endforeach()
  # Nothing converted: the files of a previous run stay as they were.
  run(none ARGS -o ${WORK}/kept.txt --svg ${WORK}/kept.svg ${WORK}/missing.dat)
  expect("status ${none_status} with no readable survey" none_status STREQUAL 3)
  expect("not said: ${none_err}" none_err MATCHES "nothing was converted. -o ")
  file(READ ${WORK}/day.dat day_after HEX)
  expect("the survey was changed" day_after STREQUAL day_before)
  file(READ ${WORK}/kept.txt kept)
  expect("the earlier output was changed: ${kept}" kept STREQUAL "the last good output\n")
  file(GLOB left ${WORK}/new.* ${WORK}/kept.svg ${WORK}/*partial*)
  expect("files were made: ${left}" NOT left)
  # Apart from the surveys, both outputs are written; the plan beside is the plan format.
  run(apart ARGS -o ${WORK}/kept.txt --svg ${WORK}/beside.svg ${survey})
  file(READ ${WORK}/kept.txt kept)
  string(REPLACE "\r\n" "\n" kept "${kept}")
  expect("-o beside --svg differs from standard output" kept STREQUAL plain_out)
  run(plan ARGS --format svg -o ${WORK}/plan.svg ${survey})
  file(READ ${WORK}/beside.svg beside)
  file(READ ${WORK}/plan.svg plan)
  string(LENGTH "${plan}" plan_size)
  expect("--format svg differs from --svg" plan STREQUAL beside AND plan_size GREATER 100)

elseif(CASE STREQUAL "unusual_inputs")
  # A FIFO is read once and imports as the file; a file that opens but cannot be read is
  # named with the system's reason (status 3); one that converts to nothing leaves -o as it was.
  execute_process(COMMAND mkfifo ${WORK}/fifo.dat)
  # The writer goes on in the background, its own output closed, given up after a while.
  execute_process(COMMAND sh -c "(timeout 20 cat ${survey} > ${WORK}/fifo.dat) >/dev/null 2>&1 &")
  run(fifo ARGS ${WORK}/fifo.dat)
  string(REPLACE "${WORK}/fifo.dat" "${survey}" fifo_out "${fifo_out}")
  expect("the FIFO gave another trace (${fifo_status}): ${fifo_err}" fifo_out STREQUAL plain_out)
  run(io ARGS /proc/self/mem ${survey})
  expect("status ${io_status}: ${io_err}" io_status STREQUAL 3 AND
         io_err STREQUAL "m5import: cannot read /proc/self/mem: Input/output error\n")
  file(WRITE ${WORK}/kept.txt "the last good output\n")
  file(WRITE ${WORK}/empty.dat "")
  foreach(nothing ${WORK}/empty.dat ../README.md)
    run(none ARGS -o ${WORK}/kept.txt ${nothing})
    file(READ ${WORK}/kept.txt kept)
    expect("${nothing} replaced the earlier output: ${kept}" kept STREQUAL "the last good output\n")
    expect("not said for ${nothing}: ${none_err}"
           none_err MATCHES "^m5import: nothing was converted. -o [^\n]*kept.txt left as it was\n[^\n]*: error: ")
  endforeach()

elseif(CASE STREQUAL "batch")
  # A folder is its survey files, one output each beside the merged one of -o; the summary
  # and the status tell warnings (4) from errors (1) and unreadable files (3).
  file(MAKE_DIRECTORY ${WORK}/day)
  file(COPY_FILE ${survey} ${WORK}/day/a.dat)
  file(COPY_FILE height_station.dat ${WORK}/day/B.DAT)
  file(WRITE ${WORK}/day/notes.txt "not a survey\n")
  set(summary "file\\(s\\): 1 converted without a message, 1 with warnings, 0 with errors")
  foreach(row "--output-dir|${WORK}/out|${WORK}/day|4|2 ${summary}, 0 unreadable"
              "--output-dir|${WORK}/out|-o|${WORK}/all.trace|${WORK}/day|mistakes.dat|1|with errors"
              "${WORK}/day|${WORK}/nothing.dat|3|3 ${summary}, 1 unreadable")
    string(REPLACE "|" ";" args "${row}")
    list(POP_BACK args said)
    list(POP_BACK args status)
    run(batch ARGS --format csv ${args})
    expect("status ${batch_status} for ${row}" batch_status STREQUAL status)
    expect("${row} said: ${batch_err}" batch_err MATCHES "m5import: [^\n]*${said}[^\n]*\n$")
  endforeach()
  file(GLOB written RELATIVE ${WORK}/out ${WORK}/out/*)
  string(REPLACE ";" "," written "${written}")
  expect("wrote ${written}" written STREQUAL "B.csv,a.csv,mistakes.csv")
  expect("no merged output with -o" EXISTS ${WORK}/all.trace)

elseif(CASE STREQUAL "non_utf8_name")
  string(ASCII 255 byte)
  set(odd "${WORK}/survey${byte}.dat")
  file(COPY_FILE ${survey} "${odd}")
  run(odd ARGS "${odd}")
  string(REGEX REPLACE "BeginFile\\(\"[^\n]*\"\\)" "BeginFile(\"${survey}\")" odd_out "${odd_out}")
  expect("status ${odd_status}: ${odd_err}" odd_status STREQUAL plain_status)
  expect("complained: ${odd_err}" NOT odd_err)
  expect("the survey read under its odd name differs" odd_out STREQUAL plain_out)

elseif(CASE STREQUAL "messages")
  # The plug-in's messages on a survey with mistakes: in the output of the formats that
  # have a place for them, else on stderr, line by line as editors read them. Either way
  # the mistakes give status 1.
  set(mistakes_lines
      "mistakes.dat:2: warning: Не определена точка стояния. По умолчанию создается станция с именем Default.\n"
      "mistakes.dat:4: error: Нарушен порядок работы, отсутствует объявление станции.\n"
      "mistakes.dat:8: error: Не задано имя точки.\n"
      "mistakes.dat:10: error: Имя цели  S9  совпадает с именем станции.\n"
      "mistakes.dat: error: Импорт прекращен. Файл создан программным обеспечением ранних версий. Используйте другой формат.\n")
  string(CONCAT mistakes_lines ${mistakes_lines})
  # Every format of the registry, as --help lists them.
  execute_process(COMMAND ${emulator} ${HOST} --help OUTPUT_VARIABLE help)
  string(REGEX MATCH "Formats \\(--format\\):\n([ ]+[a-z0-9]+[^\n]*\n)+" listed "${help}")
  string(REGEX MATCHALL "\n  [a-z0-9]+ " formats "${listed}")
  string(REGEX REPLACE "[\n ]" "" formats "${formats}")
  list(LENGTH formats count)
  expect("--help lists ${count} formats: ${formats}" count GREATER 6)
  foreach(format ${formats})
    if(format STREQUAL "kml")
      # KML holds longitude and latitude: it needs --crs and PROJ (the table's kml rows).
      continue()
    endif()
    run(mistakes ARGS --format ${format} mistakes.dat)
    expect("status ${mistakes_status} with --format ${format}" mistakes_status STREQUAL 1)
    # Messages either in the output (stderr clean) or all of them on stderr.
    if(NOT mistakes_err)
      string(FIND "${mistakes_out}" "Не задано имя точки." at)
      expect("--format ${format} left out a message" at GREATER -1)
    else()
      set(expected "${mistakes_lines}")
      if(format STREQUAL "geojson")
        # Without --crs the grid is written, and said not to be longitude and latitude.
        string(PREPEND expected "m5import: warning: geojson: the output's coordinates are grid "
               "eastings and northings, not the longitude and latitude RFC 7946 readers assume "
               "(--crs EPSG:N transforms them)\n")
      endif()
      expect("--format ${format} wrote on stderr:\n${mistakes_err}" mistakes_err STREQUAL expected)
    endif()
  endforeach()

elseif(CASE STREQUAL "settings_files")
  # A settings file named for an import must be there and hold what the settings page would
  # take: else nothing is imported (status 2), rather than imported with other settings.
  set(reason "")
  if(NOT EMULATOR)
    set(reason "No such file or directory\n")
  endif()
  run(missing ARGS --settings ${WORK}/setings.ini ${survey})
  expect("status ${missing_status} for a missing settings file" missing_status STREQUAL 2)
  expect("imported with the defaults" NOT missing_out)
  string(FIND "${missing_err}"
         "m5import: ${WORK}/setings.ini: cannot read the settings file: ${reason}" at)
  expect("said: ${missing_err}" at EQUAL 0)
  set(no_such_angle_mode
      "AngleMode offers no choice \"7\" (0 Абсолютный отсчет, 1 Ориентированное направление)\n")
  file(WRITE ${WORK}/angles.ini "[M5]\nPointLen=14\nAngleMode=7\n")
  run(angles ARGS --settings ${WORK}/angles.ini ${survey})
  expect("status ${angles_status} for AngleMode=7" angles_status STREQUAL 2)
  expect("imported with AngleMode=7" NOT angles_out)
  expect("said: ${angles_err}"
         angles_err STREQUAL "m5import: ${WORK}/angles.ini: line 3: ${no_such_angle_mode}")
  # The same judgement as an edit on the page; the settings command may name the file it is
  # to write.
  execute_process(
    COMMAND ${emulator} ${HOST} settings --plugin ${PLUGIN} --settings ${WORK}/new.ini --set
            AngleMode=7
    OUTPUT_VARIABLE edit_out ERROR_VARIABLE edit_err RESULT_VARIABLE edit_status)
  string(REPLACE "\r\n" "\n" edit_err "${edit_err}")
  expect("status ${edit_status} for --set AngleMode=7" edit_status STREQUAL 2)
  expect("said: ${edit_err}" edit_err STREQUAL "m5import: ${no_such_angle_mode}")
  execute_process(
    COMMAND ${emulator} ${HOST} settings --plugin ${PLUGIN} --settings ${WORK}/new.ini --set
            AngleMode=0
    OUTPUT_VARIABLE edit_out ERROR_VARIABLE edit_err RESULT_VARIABLE edit_status)
  expect("status ${edit_status} for --set AngleMode=0: ${edit_err}" edit_status STREQUAL 0)
  expect("new.ini was not written" EXISTS ${WORK}/new.ini)

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
file(REMOVE_RECURSE ${WORK})
