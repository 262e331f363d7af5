# The Windows build's own checks: the code page under wine, the string-table resource,
# the C run-time's file stream, and the DLL as a host sees it (loaded with LoadLibraryW,
# its table of operations, its export table and the DLLs it imports).
if(WIN32)
  add_m5_test(windows m5::plugin_static)

  # A host of its own: no string table in the program, so the texts the plug-in shows can
  # only come from the DLL's.
  add_m5_test(windows_dll)
  if(TARGET m5_windows_dll_tests)
    set_target_properties(m5_windows_dll_tests PROPERTIES M5_NO_STRING_TABLE ON)
    add_dependencies(m5_windows_dll_tests m5plugin)
    target_compile_definitions(m5_windows_dll_tests PRIVATE
      M5_PLUGIN_FILE="$<TARGET_FILE:m5plugin>")
  endif()

  # The portable loading test speaks dlopen; windows_dll replaces it.
  if(TARGET m5_sdk_tests)
    get_target_property(m5_sdk_definitions m5_sdk_tests COMPILE_DEFINITIONS)
    list(FILTER m5_sdk_definitions EXCLUDE REGEX "^M5_PLUGIN_FILE=")
    set_target_properties(m5_sdk_tests PROPERTIES COMPILE_DEFINITIONS "${m5_sdk_definitions}")
  endif()

  find_program(M5_OBJDUMP NAMES ${M5_MINGW_TRIPLET}-objdump ${CMAKE_CXX_COMPILER_TARGET}-objdump
                                x86_64-w64-mingw32-objdump objdump)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(m5_pe_architecture i386)
  else()
    set(m5_pe_architecture x86-64)
  endif()
  if(M5_OBJDUMP)
    add_test(NAME windows.dll_exports_and_imports
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${M5_OBJDUMP} -DLIBRARY=$<TARGET_FILE:m5plugin>
                     -DARCHITECTURE=${m5_pe_architecture}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_dll.cmake)
    set_tests_properties(windows.dll_exports_and_imports PROPERTIES LABELS "windows;static")
  endif()

  # A host of Microsoft's ABI drives the DLL as a host built by that compiler would.
  include(${CMAKE_CURRENT_SOURCE_DIR}/msvc_host/msvc_host.cmake)
endif()
