#!/usr/bin/env bash
# The long-run check, kept out of make test: the program on a virtual display with its clock
# ticking for SECONDS (an hour unless told), its resident memory and open descriptors sampled
# as it goes; then LAUNCHES clicks on the sounds button, each starting a stand-in settings tool,
# after which no started program may be left a zombie and no descriptor may have been added.
#   scripts/soak.sh BUILD [SECONDS [LAUNCHES]]
set -euo pipefail
build=${1:-build}
seconds=${2:-3600}
launches=${3:-10000}
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -dpi 96 >"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill "${app:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"

# The stand-in tool only counts its starts.
mkdir "$work/bin"
printf '#!/bin/sh\n[ "$1" = --version ] && exit 0\necho >>"%s"\n' "$work/starts" \
  >"$work/bin/gnome-control-center"
chmod +x "$work/bin/gnome-control-center"
PATH="$work/bin:$PATH" XDG_CURRENT_DESKTOP=GNOME "$build/zanthera" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zanthera ver 0.1$' | head -n1)
sleep 2

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$app/status"; }
fds() { ls "/proc/$app/fd" | wc -l; }
zombies() { ps --ppid "$app" -o stat= | grep -c '^Z' || true; }

step=$(( seconds >= 60 ? seconds / 60 : 1 ))
first_rss=$(rss); first_fds=$(fds); max_rss=$first_rss; max_fds=$first_fds
for (( t = 0; t < seconds; t += step )); do
  sleep "$step"
  r=$(rss); f=$(fds)
  (( r > max_rss )) && max_rss=$r
  (( f > max_fds )) && max_fds=$f
done
echo "ticking for ${seconds} s, sampled every ${step} s:"
echo "  RSS         first ${first_rss} KiB  last $(rss) KiB  highest ${max_rss} KiB"
echo "  descriptors first ${first_fds}  last $(fds)  highest ${max_fds}"

before_fds=$(fds)
xdotool mousemove --window "$window" 328 420
xdotool click --repeat "$launches" --delay 5 1
for _ in $(seq 600); do
  (( $(wc -l <"$work/starts" 2>/dev/null || echo 0) >= launches )) && break
  sleep 0.1
done
sleep 1
echo "${launches} clicks on the sounds button:"
echo "  tools started $(wc -l <"$work/starts")  zombies left $(zombies)"
echo "  descriptors before ${before_fds}  after $(fds)   RSS after $(rss) KiB"
