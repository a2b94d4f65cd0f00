#!/usr/bin/env bash
# Makes the Wine prefix that the Windows program's tests and benchmark run in, once: a new
# prefix takes minutes to create, every later start in it well under a second. Usage:
#   wine-prefix.sh PREFIX [win64|win32]
# Prints the creation time when it creates one; does nothing when PREFIX is ready. A prefix made
# before its registry settings grew gets only those.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wine-prefix.sh PREFIX [win64|win32]}")
arch=${2:-win64}
ready=$prefix/.zanthera-ready
[[ -f "$ready" ]] && grep -q '"ServicesPipeTimeout"' "$prefix/system.reg" && exit 0

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

# Under qemu (the 32-bit prefix) the desktop and plug-and-play processes that wineboot leaves
# behind idle without ever exiting, so waiting for the server to wind down by itself never ends.
# One server, kept up on purpose, serves the whole creation: the prefix is made when wineboot
# itself has ended, the font substitutes are written in the same server (a new one would boot the
# prefix all over again), and the server is then told to end, which saves the registry. Every
# wait is bounded.
limit=${ZANTHERA_WINE_BOOT_SECONDS:-1800}
give_up() {
  wineserver -k 2>/dev/null || true
  echo "wine-prefix.sh: $1 within $limit s: $prefix" >&2
  exit 1
}
# The wineboot that makes the prefix is a process of its own: the command below only starts it,
# and under qemu gives up waiting for it after five minutes, long before it is done.
booting() {
  local pid
  for pid in $(pgrep -f 'wineboot' || true); do
    { tr '\0' '\n' <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$prefix"; } 2>/dev/null && return 0
  done
  return 1
}
start=$(date +%s)
if [[ ! -f "$ready" ]]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
fi
wineserver -p
status=0
timeout "$limit" "$wine" wineboot --init >/dev/null 2>&1 || status=$?
[[ $status -ne 124 ]] || give_up "wineboot did not make the $arch prefix"
while booting; do
  (($(date +%s) - start < limit)) || give_up "wineboot did not make the $arch prefix"
  sleep 2
done

# Wine's own Tahoma and the Windows faces the program's controls and message boxes ask for have
# no Arabic letters: map them to a face that has both Latin and Arabic. And under emulation a
# service's process takes far longer than the 10 s Wine gives it to answer before ending it; the
# mount manager, which reads volume serials, is one. The file is written on the prefix's own
# drive C:, whose Windows name needs no conversion.
settings="$prefix/drive_c/zanthera-settings.reg"
{
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
  for face in "Tahoma" "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Arial" "Segoe UI"; do
    printf '"%s"="DejaVu Sans"\n' "$face"
  done
  printf '\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control]\n"ServicesPipeTimeout"="600000"\n'
} >"$settings"
timeout "$limit" "$wine" regedit /S 'C:\zanthera-settings.reg' >/dev/null 2>&1 ||
  give_up "the registry settings were not written"
rm -f "$settings"
wineserver -k
timeout 60 wineserver -w || true

touch "$ready"
echo "Wine prefix ($arch) made ready in $(($(date +%s) - start)) s: $prefix"
