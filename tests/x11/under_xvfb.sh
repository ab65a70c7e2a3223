#!/usr/bin/env bash
# Runs a test on its own virtual X server, bounded in time; exit 77 (skipped)
# where no virtual X server can be had.
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: xvfb-run is not installed (Debian: xvfb)"
  exit 77
fi
exec timeout "${X11_TEST_TIMEOUT:-300}" xvfb-run -a -s "-screen 0 1024x768x24" "$@"
