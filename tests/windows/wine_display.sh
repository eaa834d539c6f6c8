#!/usr/bin/env bash
# The Windows tests' virtual display, a fixture: "start" ends the Wine server session, so that
# the next program begins a session on the display (the first program of a session fixes its
# display for the whole session), and starts an X server that numbers the display itself
# (-displayfd), noting it in BUILD_DIR/display.txt, which tests/windows/wine.sh hands to every
# Wine program from then on. "stop" ends the session and the X server and removes the note.
#   wine_display.sh BUILD_DIR start|stop
set -euo pipefail
out=$1
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
in_wine wineserver -k 2>/dev/null || true
if [[ -f $out/display.pid ]]; then
  kill "$(cat "$out/display.pid")" 2>/dev/null || true
fi
rm -f "$out/display.txt" "$out/display.pid" "$out/display-number.txt"
[[ $2 == start ]] || exit 0

# In a session of its own with its output elsewhere: CTest waits for whatever holds a test's
# output open.
setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$out/display-number.txt" </dev/null >/dev/null 2>&1 &
echo $! >"$out/display.pid"
for _ in $(seq 100); do
  [[ -s $out/display-number.txt ]] && break
  sleep 0.1
done
[[ -s $out/display-number.txt ]] || { echo "Xvfb gave no display number"; exit 1; }
echo ":$(head -1 "$out/display-number.txt")" >"$out/display.txt"
