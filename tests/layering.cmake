# The layering of the folders (tests/scripts/check_layering.cmake holds it): an include
# against it fails the build, and the test suite (ctest -R layering) names every one.
set(m5_layering_script ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_layering.cmake)
set(m5_layered_sources)
foreach(folder resources platform sdk text values parser import host tests bench fuzz examples)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
       ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.inc
       ${PROJECT_SOURCE_DIR}/${folder}/*.rc)
  list(APPEND m5_layered_sources ${sources})
endforeach()

set(m5_layering_stamp ${CMAKE_CURRENT_BINARY_DIR}/layering.stamp)
add_custom_command(
  OUTPUT ${m5_layering_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${m5_layering_script}
  COMMAND ${CMAKE_COMMAND} -E touch ${m5_layering_stamp}
  DEPENDS ${m5_layering_script} ${m5_layered_sources}
  COMMENT "Checking the includes against the layering"
  VERBATIM)
add_custom_target(m5_layering ALL DEPENDS ${m5_layering_stamp})

add_test(NAME layering.includes
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${m5_layering_script})
set_tests_properties(layering.includes PROPERTIES LABELS "layering;static")

# Each layered library waits for the check, so building any of them alone fails too.
foreach(target m5_platform m5_system_string m5_text m5_values m5_parser m5_import
               m5plugin_static m5plugin m5_host_os m5_host_survey m5_host_sinks
               m5_host_session m5_host_layout m5_host_outputs m5_host_cli)
  if(TARGET ${target})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      add_dependencies(${target} m5_layering)
    endif()
  endif()
endforeach()
