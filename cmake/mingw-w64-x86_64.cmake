# Cross-builds the core, the sample library, maptesk-cli and their tests for
# 64-bit Windows with Debian's mingw-w64 (posix threads), linked statically so
# the programs run without the compiler's DLLs. Tests run under Wine:
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MAPTESK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MAPTESK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MAPTESK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MAPTESK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MAPTESK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package keeps its loader out of PATH.
find_program(MAPTESK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MAPTESK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MAPTESK_WINE})
endif()
