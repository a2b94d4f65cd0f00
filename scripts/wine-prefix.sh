#!/usr/bin/env bash
# Makes the Wine prefix that the Windows program's tests and benchmark run in, once: a new
# prefix takes minutes to create, every later start in it well under a second. Usage:
#   wine-prefix.sh PREFIX [win64|win32]
# Prints the creation time when it creates one; does nothing when PREFIX is ready.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wine-prefix.sh PREFIX [win64|win32]}")
arch=${2:-win64}
[[ -f "$prefix/.zanthera-ready" ]] && exit 0

# No Mono or Gecko installer prompts, no debug chatter, and no display: creating the prefix
# shows nothing.
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# A 64-bit prefix is made by the 64-bit loader itself: with 32-bit Wine installed too, `wine`
# would start the 32-bit loader, which these machines can run only through emulation.
wine=wine
if [[ "$arch" == win64 ]]; then
  wine=$(command -v wine64 || { [[ -x /usr/lib/wine/wine64 ]] && echo /usr/lib/wine/wine64; } || echo wine)
fi

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
start=$(date +%s)
"$wine" wineboot --init >/dev/null 2>&1
wineserver -w

# Wine's own Tahoma and the Windows faces the program's controls and message boxes ask for have
# no Arabic letters: map them to a face that has both Latin and Arabic.
substitutes=$(mktemp --suffix=.reg)
trap 'rm -f "$substitutes"' EXIT
{
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
  for face in "Tahoma" "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Arial" "Segoe UI"; do
    printf '"%s"="DejaVu Sans"\n' "$face"
  done
} >"$substitutes"
"$wine" regedit /S "$(winepath -w "$substitutes" 2>/dev/null)" >/dev/null 2>&1
wineserver -w

touch "$prefix/.zanthera-ready"
echo "Wine prefix ($arch) created in $(($(date +%s) - start)) s: $prefix"
