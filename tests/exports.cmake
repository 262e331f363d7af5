# The plug-in library exports CreatePlugin and nothing else of ours.
if(UNIX AND NOT APPLE AND TARGET m5plugin)
  find_program(M5_NM nm)
  if(M5_NM)
    add_test(NAME exports.only_create_plugin
             COMMAND ${CMAKE_COMMAND} -DNM=${M5_NM} -DLIBRARY=$<TARGET_FILE:m5plugin>
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_exports.cmake)
    set_tests_properties(exports.only_create_plugin PROPERTIES LABELS sdk)
  endif()
endif()
