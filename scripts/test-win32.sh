#!/usr/bin/env bash
# The Windows program's end-to-end tests against the 32-bit zanthera.exe, under 32-bit Wine:
# these machines run no 32-bit code natively, so Wine runs through qemu user emulation and each
# start of a program takes a minute or more. Not part of `make test`; the 32-bit program's files
# are checked there.
set -euo pipefail
build=$(realpath "${1:-build}")
root=$(cd "$(dirname "$0")/.." && pwd)
windows=$(realpath "${ZANTHERA_WINDOWS_BUILD:-$root/build-windows}")

"$root/scripts/wine-prefix.sh" "$windows/wineprefix32" win32
start=$(date +%s)
ZANTHERA_WINE_PREFIX="$windows/wineprefix32" ZANTHERA_WINE_EXE="$windows/zanthera.exe" \
  ZANTHERA_WINE_HELPERS="$build/windows-helpers/i686" ZANTHERA_WINE_LOADER=wine \
  ZANTHERA_WINE_PATIENCE=${ZANTHERA_WINE_PATIENCE:-10} \
  "$build/tests/wine/windows_tests" --gtest_filter='*UnderWine*'
echo "32-bit Windows program tests: $(($(date +%s) - start)) s"
