# The README's first commands are the ones CI runs, so a broken one fails CI.
add_test(NAME readme.quick_start_is_what_ci_runs
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_quick_start.cmake)
set_tests_properties(readme.quick_start_is_what_ci_runs PROPERTIES LABELS "static")
