# Sourced by the package tests: a virtual display of the test's own, and the program's window.
start_display() { # WORKDIR; sets xvfb to the server's process for the caller's EXIT trap
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $1/display ]] && break; sleep 0.05; done
  export DISPLAY=:$(head -n1 "$1/display")
}
# The id of the program's window once it shows, waiting up to 20 s; empty when it never does.
program_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Zanthera ver 0.1$' | head -n1
}
