#!/usr/bin/env bash
# Starts the program. Without a display it shows the window on a virtual one, saves a screenshot
# once the window has painted, says where, and ends the program and the virtual display however
# it went.
set -euo pipefail
program=${1:-build/zanthera}
shot=${2:-build/screenshot.png}

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# Both set before anything can fail, so the clean-up below always knows what to end.
app=""
xvfb=""
trap 'for p in $app $xvfb; do kill "$p" 2>/dev/null || true; done' EXIT
displayfile="$(dirname "$shot")/xvfb.display"
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$displayfile" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [[ -s "$displayfile" ]] && break
  sleep 0.05
done
[[ -s "$displayfile" ]] || { echo "The virtual display did not start." >&2; exit 1; }
export DISPLAY=":$(head -n1 "$displayfile")"
"$program" &
app=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Zanthera ver 0.1$' 2>/dev/null | head -n1 || true)
  [[ -n "$window" ]] && break
  kill -0 "$app" 2>/dev/null || { echo "The program ended before its window showed." >&2; exit 1; }
  sleep 0.1
done
[[ -n "$window" ]] || { echo "The program's window did not show within 20 seconds." >&2; exit 1; }
# Give the window a moment to paint everything after it is mapped.
sleep 1
"$(dirname "$program")/zanthera-shot" "$window" "$shot"
echo "No display was found: the window was shown on a virtual display."
echo "Screenshot: $(realpath "$shot")"
