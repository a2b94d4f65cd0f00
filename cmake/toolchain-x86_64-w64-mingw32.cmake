# Cross-builds the native Windows program for x86_64 with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZANTHERA_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
