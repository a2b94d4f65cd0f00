#!/usr/bin/env bash
# Prints the benchmark figures; runs on a virtual display so the desktop's own load cannot skew
# them.
set -euo pipefail
build=${1:-build}
runs=${2:-21}
idle=${ZANTHERA_IDLE_SECONDS:-60}
log=$(mktemp)
export XDG_RUNTIME_DIR=$(mktemp -d)
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -dpi 96 >"$log" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$log" "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [[ -s "$log" ]] && break; sleep 0.05; done
DISPLAY=":$(head -n1 "$log")" "$build/bench/zanthera-bench" "$build/zanthera" \
  "$build/bench/bare-window" "$build/bench/exec-stamp" "$runs" "$idle"
"$build/bench/definition-bench"

# The Windows program, when `make windows` has built it: start-up under Wine and the 32-bit
# program's size.
windows=${ZANTHERA_WINDOWS_BUILD:-$(dirname "$0")/../build-windows}
[[ -f "$windows/x64/zanthera.exe" && -f "$windows/zanthera.exe" ]] || exit 0
"$(dirname "$0")/wine-prefix.sh" "$windows/wineprefix"
export WINEPREFIX=$(realpath "$windows/wineprefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$(head -n1 "$log")"
wine=$(command -v wine64 || { [[ -x /usr/lib/wine/wine64 ]] && echo /usr/lib/wine/wine64; } || echo wine)
wineserver -k 2>/dev/null || true
wineserver -p # the server stays up between runs, for both programs alike
trap 'wineserver -k; kill $xvfb 2>/dev/null; rm -rf "$log" "$XDG_RUNTIME_DIR"' EXIT
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
"$build/bench/zanthera-bench" --wine "$wine" "$windows/x64/zanthera.exe" \
  "$build/windows-helpers/x86_64/BareWindow.exe" "$runs"
size=$(stat -c %s "$windows/zanthera.exe")
block=$(stat -c %s "$build/definition/Form1.definition")
awk -v s="$size" -v b="$block" 'BEGIN { printf "32-bit zanthera.exe size: %.2f MB; baseline definition block %.2f MB; ratio %.2f; goal <= 1.40 MB: %s\n", s / 1e6, b / 1e6, s / b, (s <= 1.4e6 ? "holds" : "MISSED") }' 
