# What both Windows toolchains share: Debian's MinGW-w64 compilers with Win32 threads (the program
# needs no threading library, so nothing but system DLLs is imported), and libraries and headers
# looked up only in the target's own root. The toolchain file sets ZANTHERA_TARGET first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZANTHERA_TARGET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ZANTHERA_TARGET}-g++-win32)
set(CMAKE_RC_COMPILER ${ZANTHERA_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZANTHERA_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
