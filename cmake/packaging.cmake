# The installation and the packages: m5import and the plug-in, the SDK for host projects
# with its CMake package (find_package(m5plugin) gives m5plugin::sdk), the README and the
# examples. Folders per system come from install_layout.cmake.
include(CMakePackageConfigHelpers)

option(M5_INSTALL_SDK "Install the SDK headers and the CMake package for host projects" ON)

install(TARGETS m5plugin
        LIBRARY DESTINATION ${M5_INSTALL_PLUGINDIR} COMPONENT runtime
        RUNTIME DESTINATION ${M5_INSTALL_PLUGINDIR} COMPONENT runtime)
if(TARGET m5import)
  install(TARGETS m5import RUNTIME DESTINATION ${M5_INSTALL_BINDIR} COMPONENT runtime)
endif()
install(FILES README.md DESTINATION ${M5_INSTALL_DOCDIR} COMPONENT runtime)
install(DIRECTORY examples/ DESTINATION ${M5_INSTALL_DOCDIR}/examples COMPONENT runtime)

# The SDK as a host project sees it: the targets m5_sdk and m5_system_string (sdk/,
# platform/), exported as m5plugin::sdk and m5plugin::system_strings. Its headers use the
# include paths of this source tree ("sdk/...", "platform/..."), so the installed tree keeps
# both folders.
set(m5_sdk_targets m5_sdk m5_system_string)
add_library(m5plugin::sdk ALIAS m5_sdk)

if(M5_INSTALL_SDK)
  set(m5_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/m5plugin)
  install(TARGETS ${m5_sdk_targets} EXPORT m5plugin
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT sdk)
  file(GLOB m5_sdk_headers ${PROJECT_SOURCE_DIR}/sdk/*.h)
  install(FILES ${m5_sdk_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/sdk COMPONENT sdk)
  install(FILES ${PROJECT_SOURCE_DIR}/platform/guid.h ${PROJECT_SOURCE_DIR}/platform/system_string.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform COMPONENT sdk)
  install(EXPORT m5plugin NAMESPACE m5plugin:: FILE m5pluginTargets.cmake
          DESTINATION ${m5_cmake_dir} COMPONENT sdk)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/m5pluginConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/m5pluginConfig.cmake
                                INSTALL_DESTINATION ${m5_cmake_dir})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/m5pluginConfigVersion.cmake
                                   COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/m5pluginConfig.cmake
                ${PROJECT_BINARY_DIR}/m5pluginConfigVersion.cmake
          DESTINATION ${m5_cmake_dir} COMPONENT sdk)
endif()

# Packages (scripts/package chooses the generators): a .deb and a .tar.gz on Linux, a zip
# per Windows architecture. Release builds, stripped.
set(CPACK_PACKAGE_NAME m5import)
set(CPACK_PACKAGE_VENDOR "M5 import developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Import of M5 field files of 3600-series total stations: plug-in, reference host, SDK")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(m5_package_system windows-x64)
  else()
    set(m5_package_system windows-x86)
  endif()
else()
  set(m5_package_system linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${m5_package_system})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "M5 import developers <m5import@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
