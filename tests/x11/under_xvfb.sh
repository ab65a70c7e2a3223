#!/usr/bin/env bash
# Runs a test on its own virtual X server, bounded in time; exit 77 (skipped)
# where there is none. The server picks a free display itself (-displayfd),
# so tests running at the same time never share one. XVFB_SCREEN sets the
# screen's size and depth (1024x768x24 unless given).
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "skipped: Xvfb is not installed (Debian: xvfb)"
  exit 77
fi
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
number=$(head -n 1 "$display_file")
if [ -z "$number" ]; then
  echo "Xvfb did not start"
  exit 1
fi
DISPLAY=:$number timeout "${X11_TEST_TIMEOUT:-300}" "$@"
