# Where an installation puts each thing. Linux follows the GNU folders: the program in
# bin/, the plug-in in a folder of its own under lib/, the SDK under include/ and the
# documentation under share/doc/. Windows keeps the program, the DLL and the README in
# one folder, the way the zip is unpacked.
include(GNUInstallDirs)

if(WIN32)
  set(M5_INSTALL_BINDIR .)
  set(M5_INSTALL_PLUGINDIR .)
  set(M5_INSTALL_DOCDIR .)
else()
  set(M5_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(M5_INSTALL_PLUGINDIR ${CMAKE_INSTALL_LIBDIR}/m5import)
  set(M5_INSTALL_DOCDIR ${CMAKE_INSTALL_DOCDIR})
endif()

# The installed m5import finds the plug-in from its own folder: only this relative path is
# built in, never a folder of the build machine.
get_filename_component(m5_bin ${M5_INSTALL_BINDIR} ABSOLUTE BASE_DIR ${CMAKE_INSTALL_PREFIX})
get_filename_component(m5_plugins ${M5_INSTALL_PLUGINDIR} ABSOLUTE BASE_DIR ${CMAKE_INSTALL_PREFIX})
file(RELATIVE_PATH M5_PLUGIN_FOLDER_FROM_PROGRAM ${m5_bin} ${m5_plugins})
if(M5_PLUGIN_FOLDER_FROM_PROGRAM STREQUAL "")
  set(M5_PLUGIN_FOLDER_FROM_PROGRAM .)
endif()
