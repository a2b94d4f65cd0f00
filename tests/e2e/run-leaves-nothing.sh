#!/usr/bin/env bash
# `make run` without a display ends its virtual display however it fails: a program that exits
# at once, one that cannot be started, and `make run` itself stopped while the display starts.
set -uo pipefail
run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '#!/bin/sh\nexec sleep 30\n' >"$work/windowless" && chmod +x "$work/windowless"
status=0
for program in /bin/false "$work/missing" stopped; do
  : >"$work/xvfb.display"
  if [[ $program == stopped ]]; then
    env -u DISPLAY -u WAYLAND_DISPLAY "$run" "$work/windowless" "$work/shot.png" >/dev/null 2>&1 &
    for _ in $(seq 500); do [[ -s "$work/xvfb.display" ]] && break; sleep 0.01; done
    kill -TERM $! && wait $!
  elif env -u DISPLAY -u WAYLAND_DISPLAY "$run" "$program" "$work/shot.png" >/dev/null 2>&1; then
    echo "FAIL: run.sh succeeded with $program"; status=1
  fi
  display=$(head -n1 "$work/xvfb.display")
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$display ]] || break; sleep 0.1; done
  if [[ -z "$display" || -e /tmp/.X11-unix/X$display ]]; then
    echo "FAIL: the virtual display :$display outlived run.sh ($program)"; status=1
  fi
done
exit $status
