#!/usr/bin/env bash
# The Windows program's end-to-end tests against the 32-bit zanthera.exe, under 32-bit Wine. Where
# the kernel runs 32-bit programs itself they take a few minutes, and `make test` runs them; where
# it does not, Wine runs through qemu user emulation, each start of a program takes a minute or
# more, and only `make test-win32` runs them.
set -euo pipefail
build=$(realpath "${1:-build}")
root=$(cd "$(dirname "$0")/.." && pwd)
windows=$(realpath "${ZANTHERA_WINDOWS_BUILD:-$root/build-windows}")

# How many times longer than native every wait of the tests may be.
patience=2
if ! "$root/scripts/runs-32bit.sh"; then
  patience=30
fi
# A kernel without 32-bit support hands 32-bit x86 programs to qemu only through binfmt_misc;
# Debian's qemu-user-static leaves i386 out on amd64, where it expects the kernel to run it, so
# the entry is made here (as root) when it is missing.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  binfmt=/proc/sys/fs/binfmt_misc
  as_root=(); [[ $(id -u) -eq 0 ]] || as_root=(sudo)
  [[ -e $binfmt/register ]] || "${as_root[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
  [[ -e $binfmt/qemu-i386 ]] || printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
    "${as_root[@]}" tee "$binfmt/register" >/dev/null
  /usr/lib/wine/wine --version >/dev/null || { echo "32-bit Wine does not run here, even through qemu" >&2; exit 1; }
fi
"$root/scripts/wine-prefix.sh" "$windows/wineprefix32" win32
start=$(date +%s)
ZANTHERA_WINE_PREFIX="$windows/wineprefix32" ZANTHERA_WINE_EXE="$windows/zanthera.exe" \
  ZANTHERA_WINE_HELPERS="$build/windows-helpers/i686" ZANTHERA_WINE_LOADER=wine \
  ZANTHERA_WINE_PATIENCE=${ZANTHERA_WINE_PATIENCE:-$patience} \
  "$build/tests/wine/windows_tests" --gtest_filter='*UnderWine*'
echo "32-bit Windows program tests: $(($(date +%s) - start)) s"
