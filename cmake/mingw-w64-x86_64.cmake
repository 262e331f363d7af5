# Cross build of the Windows DLL (x86-64) with Debian's mingw-w64, run under wine.
# Packages: g++-mingw-w64-x86-64-posix, mingw-w64 (windres), wine64 for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(M5_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: std::thread and std::mutex work, winpthread is linked statically.
set(CMAKE_C_COMPILER ${M5_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${M5_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${M5_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${M5_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host loads the DLL into its own process and ships none of GCC's run-time DLLs:
# libstdc++, libgcc and winpthread go into every module we link.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# A release DLL carries no symbol table: the host has no use for it.
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Boost is used header-only; Debian's headers serve the cross build too. They lie in
# /usr/include beside the Linux C library, which must stay out of the cross compiler's
# search path, so a folder holding only a link to the boost folder stands in for it.
if(EXISTS /usr/include/boost/version.hpp AND NOT DEFINED Boost_INCLUDE_DIR)
  set(m5_boost_dir ${CMAKE_BINARY_DIR}/mingw-boost)
  if(NOT EXISTS ${m5_boost_dir}/boost)
    file(MAKE_DIRECTORY ${m5_boost_dir})
    file(CREATE_LINK /usr/include/boost ${m5_boost_dir}/boost SYMBOLIC)
  endif()
  set(Boost_INCLUDE_DIR ${m5_boost_dir} CACHE PATH "Boost headers for the cross build")
  set(Boost_NO_BOOST_CMAKE ON CACHE BOOL "Debian's Boost CMake files describe the Linux build")
endif()

# GoogleTest from source (see mingw-gtest/GTestConfig.cmake).
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-gtest CACHE PATH "GoogleTest for the cross build")

# Test programs run under wine, quietly, with a Russian locale, so that the ANSI code page
# is 1251 as on the surveyors' machines. WINEPREFIX is left to the caller.
find_program(M5_WINE NAMES wine wine64)
if(M5_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env WINEDEBUG=-all LC_ALL=ru_RU.UTF-8 ${M5_WINE})
endif()
