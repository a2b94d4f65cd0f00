#!/usr/bin/env bash
# Cross-builds the native Windows program from the Linux build's artwork and stored definition:
# the 32-bit zanthera.exe into WINDOWS/, and the same sources for x86_64 (with the Win32 unit
# tests) into WINDOWS/x64/, which these 64-bit machines can run under Wine without emulation.
#   build-windows.sh [LINUX-BUILD] [WINDOWS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=$(realpath -m "${1:-$root/build}")
windows=$(realpath -m "${2:-$root/build-windows}")

# The pictures, the block, the maintenance tool that takes the icon out of it, and the desktop
# icons that the installer's icon file is made of, and the cut of the Arabic face both programs draw with.
cmake --build "$host" --target zanthera-form definition/StoredDefinitionData.cpp zanthera_icons \
  Project1/fonts/ZantheraArabic.ttf
# The Linux build's home page, so that both programs' home-page buttons open the same site.
home=$(sed -n 's/^ZANTHERA_HOME_PAGE:STRING=//p' "$host/CMakeCache.txt")

build() { # toolchain folder tests
  cmake -S "$root" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$1.cmake" -DZANTHERA_FRONTEND=win32 \
    -DZANTHERA_HOST_BUILD="$host" -DZANTHERA_WINDOWS_TESTS="$3" \
    -DZANTHERA_WINEPREFIX="$windows/wineprefix" -DZANTHERA_HOME_PAGE="$home" >/dev/null
  cmake --build "$2" -j "$(nproc)"
}
build i686-w64-mingw32 "$windows" OFF
build x86_64-w64-mingw32 "$windows/x64" ON
echo "Windows program: $windows/zanthera.exe (32-bit), $windows/x64/zanthera.exe (64-bit)"
