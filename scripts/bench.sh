#!/usr/bin/env bash
# Prints the benchmark figures; runs on a virtual display so the desktop's own load cannot skew
# them.
set -euo pipefail
build=${1:-build}
runs=${2:-15}
log=$(mktemp)
export XDG_RUNTIME_DIR=$(mktemp -d)
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -dpi 96 >"$log" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$log" "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [[ -s "$log" ]] && break; sleep 0.05; done
DISPLAY=":$(head -n1 "$log")" "$build/bench/zanthera-bench" "$build/zanthera" \
  "$build/bench/bare-window" "$build/bench/exec-stamp" "$runs"
"$build/bench/definition-bench"
