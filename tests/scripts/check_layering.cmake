cmake_minimum_required(VERSION 3.20)
# Checks every include of the project's own headers against the layering:
#   sdk, platform   the bottom: the boundary's interfaces, and the operating system
#   text            what a file's bytes mean: the reading, the lines, the M5 line's shape
#   values          type codes, units, converters
#   parser          the M5 reader
#   import          the plug-in object and the driver
#   host            apart: a host knows the plug-in only through the SDK, as any host would,
#                   and reads survey files through text, so it reads them as the import does;
#                   in wings, each a row of its own: os, survey, sinks, session, layout,
#                   outputs, and cli on top, which nothing else includes; the plan, a
#                   folder of outputs with a row of its own, sits above the rest of outputs,
#                   which declares its writer and never includes it
# tests, bench, fuzz and examples sit on top and may include anything but the command line
# (host/cli/), which only its own tests (tests/host/cli/) include. An include names its
# header from the source root ("parser/parser.h"); one without a folder is the includer's
# own or a generated header. Run with -DSOURCE_DIR=<root>; fails listing every include
# against the layering.

# One row per folder: the folder, then what its sources may include (a folder ending in
# "/", or one header). The SDK takes from platform only the two headers installed with it.
set(m5_sdk_platform "platform/guid.h|platform/system_string.h")
set(m5_layers
    "resources|resources/"
    "platform|platform/|resources/"
    "sdk|sdk/|${m5_sdk_platform}"
    "text|text/|platform/"
    "values|values/|sdk/|platform/|resources/"
    "parser|parser/|values/|text/|sdk/|platform/|resources/"
    "import|import/|parser/|values/|text/|sdk/|platform/|resources/"
    "host/os|host/os/|sdk/|${m5_sdk_platform}"
    "host/survey|host/survey/"
    "host/sinks|host/sinks/|host/survey/|host/os/|sdk/|${m5_sdk_platform}"
    "host/session|host/session/|host/os/|sdk/|${m5_sdk_platform}"
    "host/layout|host/layout/|host/os/|text/|sdk/|${m5_sdk_platform}"
    "host/outputs|host/outputs/|host/survey/|host/sinks/trace_format.h|host/os/|sdk/|${m5_sdk_platform}"
    "host/outputs/plan|host/outputs/|host/survey/|host/os/"
    "host/cli|host/|sdk/|${m5_sdk_platform}")

# Every source of the host lies in a wing; one beside them would escape its row.
set(m5_wings os survey sinks session layout outputs cli)

# Where the command line may be included from, besides itself.
set(m5_cli_includers tests/host/cli/)

# The first folder of an include that names one of these is the project's own header.
set(m5_own_folders resources platform sdk text values parser import host tests bench fuzz
                   examples)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(m5_row_folders "")
foreach(row ${m5_layers})
  string(REGEX REPLACE "\\|.*$" "" folder "${row}")
  list(APPEND m5_row_folders ${folder})
endforeach()

# A folder with a row of its own inside another's (host/outputs/plan/) is above it: its
# sources follow its own row, and the folder around it never includes its headers.
function(m5_nested_folder path folder result)
  set(${result} "" PARENT_SCOPE)
  foreach(nested ${m5_row_folders})
    string(FIND "${nested}" "${folder}/" nested_at)
    string(FIND "${path}" "${nested}/" path_at)
    if(nested_at EQUAL 0 AND path_at EQUAL 0)
      set(${result} ${nested} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

set(m5_violations "")
set(m5_checked 0)
foreach(row ${m5_layers})
  string(REPLACE "|" ";" row "${row}")
  list(POP_FRONT row folder)
  set(allowed ${row})
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.inc ${SOURCE_DIR}/${folder}/*.rc)
  foreach(source ${sources})
    m5_nested_folder("${source}" "${folder}" own_row)
    if(own_row)
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header
                           "${line}")
      if(NOT header MATCHES "^([A-Za-z_]+)/")
        continue()
      endif()
      if(NOT CMAKE_MATCH_1 IN_LIST m5_own_folders)
        continue()
      endif()
      math(EXPR m5_checked "${m5_checked} + 1")
      set(permitted OFF)
      foreach(entry ${allowed})
        if(entry MATCHES "/$")
          string(FIND "${header}" "${entry}" at)
          if(at EQUAL 0)
            set(permitted ON)
          endif()
        elseif(header STREQUAL entry)
          set(permitted ON)
        endif()
      endforeach()
      m5_nested_folder("${header}" "${folder}" above)
      if(above)
        string(APPEND m5_violations
               "  ${source}: includes \"${header}\"; ${above}/ sits above ${folder}/\n")
        continue()
      endif()
      if(NOT permitted)
        string(REPLACE ";" ", " allowed_text "${allowed}")
        string(APPEND m5_violations
               "  ${source}: includes \"${header}\"; ${folder}/ may include ${allowed_text}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

file(GLOB_RECURSE host_sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/host/*.h
     ${SOURCE_DIR}/host/*.cpp)
foreach(source ${host_sources})
  if(NOT source MATCHES "^host/([a-z_]+)/" OR NOT CMAKE_MATCH_1 IN_LIST m5_wings)
    string(APPEND m5_violations "  ${source}: lies in no wing of host/ (${m5_wings})\n")
  endif()
endforeach()

# Nothing above the host includes its command line either.
foreach(folder tests bench fuzz examples)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]host/cli/")
    set(permitted OFF)
    foreach(includer ${m5_cli_includers})
      string(FIND "${source}" "${includer}" at)
      if(at EQUAL 0)
        set(permitted ON)
      endif()
    endforeach()
    if(includes AND NOT permitted)
      string(APPEND m5_violations
             "  ${source}: includes the command line (host/cli/), which nothing includes\n")
    endif()
  endforeach()
endforeach()

if(m5_violations)
  message(FATAL_ERROR "Includes against the layering:\n${m5_violations}")
endif()
if(m5_checked EQUAL 0)
  # A check that found nothing to check would pass forever.
  message(FATAL_ERROR "no include of the project's headers found under ${SOURCE_DIR}")
endif()
message(STATUS "layering: ${m5_checked} includes follow the layering")
