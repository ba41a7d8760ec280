#!/usr/bin/env bash
# Starts the program on a private Xvfb display with a file named on the
# command line, checks that it loads the file (a loaded cart chunk keeps the
# file open, so it shows among the process's descriptors), that its main
# window appears under its title, asks it to close as a window manager
# would, and checks that it ends by itself.
set -euo pipefail
program=$1
closer=$2
sample=$3

work=$(mktemp -d)
display=":$((100 + $$ % 800))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${program_pid:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -e "/tmp/.X11-unix/X${display#:}" ]] && break; sleep 0.1; done

# A copy, under a name with a blank, and settings kept out of the user's home.
cp "$sample" "$work/demo copy.wav"
export DISPLAY="$display" QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"
"$program" "$work/demo copy.wav" &
program_pid=$!

holds_file() {
  local fd
  for fd in /proc/"$program_pid"/fd/*; do
    [[ "$(readlink "$fd" 2>/dev/null)" == "$work/demo copy.wav" ]] && return 0
  done
  return 1
}
loaded=false
for _ in $(seq 150); do
  if holds_file; then loaded=true; break; fi
  sleep 0.1
done
if ! $loaded; then
  echo "the program did not load the file named on its command line" >&2
  exit 1
fi
"$closer" "VANTO Reelmarker" 15000

for _ in $(seq 100); do
  if ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid"
    echo "closed on the close request"
    exit 0
  fi
  sleep 0.1
done
echo "the program did not close on the close request" >&2
exit 1
