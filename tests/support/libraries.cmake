# The test-support libraries, shared by the tests and the fuzz targets; whichever of the
# two is configured first defines them.
include_guard(GLOBAL)

set(m5_support_dir ${PROJECT_SOURCE_DIR}/tests/support)

# The fake host every test drives the plug-in with.
add_library(m5_test_support STATIC ${m5_support_dir}/recording_host.cpp)
target_include_directories(m5_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(m5_test_support PUBLIC m5_sdk m5_platform m5_host_text PRIVATE m5_warnings)

# The check that every point record of a file reached the host or was reported.
add_library(m5_promise STATIC ${m5_support_dir}/promise.cpp)
target_link_libraries(m5_promise PUBLIC m5_test_support m5_import PRIVATE m5_warnings)
