#!/usr/bin/env bash
# roomplate edit on a virtual X server, used as a person would: the editor
# appears in its window, the About button shows the credits and hides them,
# a knob dragged left to right sends rising automation and is drawn at its
# new angle, a switch click toggles its parameter, and closing the window
# ends the program. Every step is bounded in time.
# With PLUGIN (a .clap file or a .vst3 bundle), the same session runs
# through that plug-in instead of the VST 2 one beside the CLI; there "About"
# is the editor's own state and sends the host nothing.
# Usage (on an X server): edit_session_test.sh ROOMPLATE PNG_COMPARE SEND_CLOSE [PLUGIN]
set -u
png_compare=$2
send_close=$3
plugin_option=()
[ $# -ge 4 ] && plugin_option=(--plugin "$4")
roomplate=$1
run_roomplate() {  # run_roomplate SECONDS COMMAND ARGS...: the CLI, through the plug-in under test
  local seconds=$1 command=$2; shift 2
  timeout "$seconds" "$roomplate" "$command" "${plugin_option[@]}" "$@"
}
source "$(dirname "$0")/session_lib.sh"

WETOUTPUT_KNOB=340,450,364,474
TANK_SWITCH=398,418,414,434

# on_screen REFERENCE.png [png_compare options]: waits up to 5 s for the window to show the picture.
on_screen() {
  local reference=$1; shift
  for _ in $(seq 50); do
    timeout 10 import -window "$window" "$scratch/screen.png" 2>/dev/null &&
      "$png_compare" "$scratch/screen.png" "$reference" "$@" >"$scratch/compare.log" && return 0
    sleep 0.1
  done
  cat "$scratch/compare.log"
  return 1
}

# printed_values INDEX: the values printed for a parameter so far, one a line.
printed_values() { sed -n "s/^param $1 = \([0-9.]*\)$/\1/p" "$scratch/edit.out"; }

wait_for_line() {  # wait_for_line PATTERN: up to 5 s
  for _ in $(seq 50); do
    grep -q "$1" "$scratch/edit.out" && return 0
    sleep 0.1
  done
  return 1
}

run_roomplate 60 snapshot -o "$scratch/face.png" >/dev/null &&
  run_roomplate 60 snapshot --about -o "$scratch/about.png" >/dev/null || { echo "FAIL snapshots"; exit 1; }
tank_before=$(run_roomplate 60 info | sed -n 's/^param 55: \([0-9.]*\).*/\1/p')

run_roomplate 120 edit >"$scratch/edit.out" 2>"$scratch/edit.err" &
editor_pid=$!
find_window
size=$(xwininfo -id "$window" | sed -n 's/.*Width: \([0-9]*\)/\1/p;s/.*Height: \([0-9]*\)/\1/p' | tr '\n' ' ')
[ "$size" = "512 512 " ] && pass "the window has the editor's size" || fail "window size $size"
# The editor's window may follow its host's by a moment.
for _ in $(seq 50); do
  children=$(xwininfo -children -id "$window" | grep -c '512x512+0+0')
  [ "$children" -ge 1 ] && break
  sleep 0.1
done
[ "$children" -eq 1 ] && pass "the editor is an X11 child window of it" || fail "$children editor child windows"

on_screen "$scratch/face.png" --skip-displays && pass "the face on screen is the snapshot's" || fail "the face on screen"

xdotool mousemove --window "$window" 483 14 click 1
on_screen "$scratch/about.png" --skip-displays && pass "About shows the credits picture" || fail "no credits picture"
if [ ${#plugin_option[@]} -eq 0 ]; then
  wait_for_line '^param 57 = 1.000$' && pass "About sends parameter 57 = 1" || fail "no automation for About"
else
  sleep 0.3
  grep -q '^param 57 ' "$scratch/edit.out" && fail "About reached the host" || pass "About stays the editor's own"
fi
xdotool mousemove --window "$window" 200 200 click 1
on_screen "$scratch/face.png" --skip-displays && pass "a second click shows the face again" || fail "the face did not come back"

# The knob's drag runs inside the plug-in, polling the server's pointer.
xdotool mousemove --window "$window" 341 462 mousedown 1
sleep 0.2
for x in 342 344 346 348 350 352 354 356 358 360 362 363; do
  xdotool mousemove --window "$window" "$x" 452
  sleep 0.05
done
xdotool mouseup 1
sleep 0.3
values=$(printed_values 26)
count=$(echo "$values" | grep -c .)
if [ "$count" -ge 4 ] && [ "$values" = "$(echo "$values" | sort -n)" ] &&
  [ "$(echo "$values" | sort -u | wc -l)" -eq "$count" ]; then
  pass "dragging WetOutput left to right: $count rising values for parameter 26"
else
  fail "parameter 26 values: $(echo $values)"
fi
last=$(echo "$values" | tail -n 1)
run_roomplate 60 snapshot --set "26=$last" -o "$scratch/knob.png" >/dev/null
on_screen "$scratch/knob.png" --only "$WETOUTPUT_KNOB" && pass "the knob is drawn at the angle of $last" ||
  fail "the knob's angle"
"$png_compare" "$scratch/screen.png" "$scratch/face.png" --only "$WETOUTPUT_KNOB" >/dev/null &&
  fail "the knob looks as before the drag" || pass "the knob moved"

xdotool mousemove --window "$window" 406 426 click 1
if wait_for_line '^param 55 = '; then
  tank_after=$(printed_values 55 | tail -n 1)
  awk -v a="$tank_before" -v b="$tank_after" 'BEGIN { exit !((a >= 0.5) != (b >= 0.5)) }' &&
    pass "Tank toggled: parameter 55 from $tank_before to $tank_after" || fail "Tank: $tank_before then $tank_after"
  run_roomplate 60 snapshot --set "26=$last" --set "55=$tank_after" -o "$scratch/toggled.png" >/dev/null
  on_screen "$scratch/toggled.png" --only "$TANK_SWITCH" && pass "the Tank switch is drawn in its new state" ||
    fail "the Tank switch on screen"
else
  fail "no automation for the Tank switch"
fi

close_and_finish "$send_close"
