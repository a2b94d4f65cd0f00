#!/usr/bin/env bash
# Starts the program. Without a display it shows the window on a virtual one, saves a screenshot
# once the window has painted, says where, and ends the program.
set -euo pipefail
program=${1:-build/zanthera}
shot=${2:-build/screenshot.png}

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$(dirname "$shot")/xvfb.display" 2>/dev/null &
xvfb=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [[ -s "$(dirname "$shot")/xvfb.display" ]] && break
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$(dirname "$shot")/xvfb.display")"
"$program" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zanthera ver 0.1$' | head -n1)
# Give the window a moment to paint everything after it is mapped.
sleep 1
"$(dirname "$program")/zanthera-shot" "$window" "$shot"
echo "No display was found: the window was shown on a virtual display."
echo "Screenshot: $(realpath "$shot")"
