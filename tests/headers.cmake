# Every header of the plug-in compiles on its own: one translation unit per header that
# includes nothing else. Built with the rest, so a header that leans on its includer's
# includes breaks the build.
set(m5_header_units)
foreach(folder sdk platform values parser import resources)
  file(GLOB headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  foreach(header ${headers})
    string(MAKE_C_IDENTIFIER ${header} unit)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/header_units/${unit}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
    list(APPEND m5_header_units ${source})
  endforeach()
endforeach()
add_library(m5_header_check OBJECT ${m5_header_units})
target_link_libraries(m5_header_check PRIVATE m5::sdk m5::platform Boost::headers m5::warnings)
