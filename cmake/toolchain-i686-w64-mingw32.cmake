# Cross-builds the native Windows program for 32-bit x86 with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZANTHERA_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
