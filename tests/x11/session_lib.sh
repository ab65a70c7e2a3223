# Shared by the scripts that drive roomplate edit on a virtual X server:
# the tools they need, a scratch folder, the pass/fail counts, finding the
# editor's window and closing it. Sourced; the script sets editor_pid.
for tool in xdotool import; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (Debian: xdotool, imagemagick)"
    exit 77
  fi
done
scratch=$(mktemp -d)
editor_pid=
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
checks=0
pass() { checks=$((checks + 1)); echo "ok   $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL $*"; }

# find_window: sets window to the X11 window titled Roomplate, waiting up to 30 s (a loaded machine
# starts programs slowly); exits when there is none.
find_window() {
  window=
  for _ in $(seq 300); do
    window=$(xdotool search --name '^Roomplate$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] && pass "a window titled Roomplate" || { fail "no Roomplate window"; cat "$scratch/edit.err"; exit 1; }
}

# close_and_finish SEND_CLOSE: closes the window as a window manager does, checks the program ends, reports.
close_and_finish() {
  "$1" "$window"
  for _ in $(seq 50); do
    kill -0 "$editor_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$editor_pid" 2>/dev/null; then
    fail "roomplate edit still runs after its window was closed"
  else
    wait "$editor_pid"
    local code=$?
    editor_pid=
    [ "$code" -eq 0 ] && pass "closing the window ends roomplate edit" || fail "roomplate edit exited $code"
  fi
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
}
