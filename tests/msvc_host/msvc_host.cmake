# The Microsoft-ABI host: built with clang for the *-pc-windows-msvc target and linked with
# lld-link, with no Windows SDK and no Microsoft library (the import libraries come from the
# .def files here). Under wine it drives m5plugin.dll through every operation, compares its
# import trace with m5import.exe's, and makes a system call fail inside an import.
# Packages: clang, lld, llvm (llvm-dlltool); python3 compares the traces.
find_program(M5_MSVC_CLANG NAMES clang++ clang++-14)
find_program(M5_LLD_LINK NAMES lld-link lld-link-14)
find_program(M5_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14)
find_package(Python3 COMPONENTS Interpreter)
if(NOT M5_MSVC_CLANG OR NOT M5_LLD_LINK OR NOT M5_DLLTOOL)
  message(STATUS "clang, lld-link or llvm-dlltool missing: the Microsoft-ABI host is not built")
  return()
endif()

set(m5_msvc_dir ${CMAKE_CURRENT_LIST_DIR})
set(m5_msvc_out ${CMAKE_CURRENT_BINARY_DIR}/msvc_host)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(m5_msvc_target i686-pc-windows-msvc)
  # 32-bit imports carry the callee's argument size in their symbols (WriteFile@20), while
  # the DLLs export the plain names.
  set(m5_dlltool_flags -m i386 -k)
  set(m5_msvc_architecture i386)
else()
  set(m5_msvc_target x86_64-pc-windows-msvc)
  set(m5_dlltool_flags -m i386:x86-64)
  set(m5_msvc_architecture x86-64)
endif()

# Freestanding: no headers or libraries but the plug-in's own sdk/, the reference host's
# headers that need none (its units, its sink's calls, its counted references, its file
# list) and this host's own declarations; no stack probes and no contraction of a*b+c, so
# the arithmetic is the reference host's.
set(m5_msvc_flags --target=${m5_msvc_target} -std=c++17 -O2 -ffreestanding -nostdlibinc
    -fno-exceptions -fno-rtti -fno-stack-protector -mno-stack-arg-probe -ffp-contract=off
    -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR} -I${m5_msvc_dir}/include)

file(GLOB m5_msvc_sources CONFIGURE_DEPENDS ${m5_msvc_dir}/*.cpp)
file(GLOB m5_msvc_headers CONFIGURE_DEPENDS ${m5_msvc_dir}/*.h ${m5_msvc_dir}/include/*.h
     ${PROJECT_SOURCE_DIR}/sdk/*.h ${PROJECT_SOURCE_DIR}/platform/*.h
     ${PROJECT_SOURCE_DIR}/host/sinks/unit_table.h ${PROJECT_SOURCE_DIR}/host/sinks/sink_calls.h
     ${PROJECT_SOURCE_DIR}/host/sinks/counted_references.h ${PROJECT_SOURCE_DIR}/host/session/file_list.h)
set(m5_msvc_inputs)
foreach(source ${m5_msvc_sources})
  get_filename_component(name ${source} NAME_WE)
  set(object ${m5_msvc_out}/${name}.obj)
  add_custom_command(OUTPUT ${object}
                     COMMAND ${M5_MSVC_CLANG} ${m5_msvc_flags} -c ${source} -o ${object}
                     DEPENDS ${source} ${m5_msvc_headers}
                     COMMENT "Building ${name}.obj for ${m5_msvc_target}" VERBATIM)
  list(APPEND m5_msvc_inputs ${object})
endforeach()

file(GLOB m5_msvc_defs CONFIGURE_DEPENDS ${m5_msvc_dir}/*.def)
foreach(def ${m5_msvc_defs})
  get_filename_component(name ${def} NAME_WE)
  set(library ${m5_msvc_out}/${name}.lib)
  set(plain ${m5_msvc_out}/${name}.def)
  # The 64-bit ABI has one convention and no decorated names.
  add_custom_command(OUTPUT ${library}
                     COMMAND ${CMAKE_COMMAND} -DINPUT=${def} -DOUTPUT=${plain}
                             -DARCHITECTURE=${m5_msvc_architecture}
                             -P ${m5_msvc_dir}/plain_def.cmake
                     COMMAND ${M5_DLLTOOL} ${m5_dlltool_flags} -d ${plain} -l ${library}
                     DEPENDS ${def} ${m5_msvc_dir}/plain_def.cmake
                     COMMENT "Making the import library ${name}.lib" VERBATIM)
  list(APPEND m5_msvc_inputs ${library})
endforeach()

set(m5_msvc_host ${m5_msvc_out}/m5_msvc_host.exe)
add_custom_command(OUTPUT ${m5_msvc_host}
                   COMMAND ${M5_LLD_LINK} /nologo /entry:mainCRTStartup /subsystem:console
                           /nodefaultlib /out:${m5_msvc_host} ${m5_msvc_inputs}
                   DEPENDS ${m5_msvc_inputs}
                   COMMENT "Linking the Microsoft-ABI host" VERBATIM)
add_custom_target(m5_msvc_host ALL DEPENDS ${m5_msvc_host})

# The host is a Windows program of the DLL's architecture that needs only system DLLs.
if(M5_OBJDUMP)
  add_test(NAME msvc_host.imports
           COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${M5_OBJDUMP} -DLIBRARY=${m5_msvc_host}
                   -DEXPORTS= -DARCHITECTURE=${m5_msvc_architecture}
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_dll.cmake)
  set_tests_properties(msvc_host.imports PROPERTIES LABELS "windows;static")
endif()

if(Python3_Interpreter_FOUND AND CMAKE_CROSSCOMPILING_EMULATOR AND TARGET m5import)
  string(REPLACE ";" "|" m5_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set(m5_compare ${Python3_EXECUTABLE} ${m5_msvc_dir}/compare_traces.py)
  set(m5_compare_options --emulator ${m5_emulator} --host ${m5_msvc_host}
                         --plugin $<TARGET_FILE:m5plugin> --source ${PROJECT_SOURCE_DIR})
  add_test(NAME msvc_host.same_traces
           COMMAND ${m5_compare} traces ${m5_compare_options}
                   --reference $<TARGET_FILE:m5import>)
  # One conversion, or one allocation deep in the first file, fails.
  foreach(injection conversion allocation:1 allocation:40)
    string(REPLACE ":" "_" name ${injection})
    add_test(NAME msvc_host.failed_${name} COMMAND ${m5_compare} inject ${injection}
                                                   ${m5_compare_options})
  endforeach()
  set_tests_properties(msvc_host.same_traces msvc_host.failed_conversion
                       msvc_host.failed_allocation_1 msvc_host.failed_allocation_40
                       PROPERTIES LABELS "windows;msvc_host")
endif()
