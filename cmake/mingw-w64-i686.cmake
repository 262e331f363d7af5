# Cross build of the 32-bit Windows DLL (x86) with Debian's mingw-w64, for 32-bit hosts.
# Packages: g++-mingw-w64-i686-posix, mingw-w64 (windres), wine32 to run the tests.
# Everything but the target is the 64-bit build's: its toolchain file is read first and the
# target-dependent settings are replaced here.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

set(CMAKE_SYSTEM_PROCESSOR x86)
set(M5_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${M5_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${M5_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${M5_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${M5_MINGW_TRIPLET})

# SSE2 arithmetic instead of the x87's 80-bit intermediates: the DLL then computes every
# double exactly as the 64-bit one does (every Windows since 8 requires SSE2).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
