#!/usr/bin/env bash
# roomplate edit --scale 2 on a virtual X server, driven as a person would:
# the window is 1024 x 1024 and shows the snapshot drawn at 2x, a click on
# the Tank switch where it is drawn toggles it, a wheel notch over a knob
# turns it by 0.01 (0.001 with Shift), and a double-click returns it to the
# program's stored value. Every step is bounded in time.
# Usage (on an X server): scaled_edit_test.sh ROOMPLATE PNG_COMPARE SEND_CLOSE
set -u
roomplate=$1
png_compare=$2
send_close=$3
source "$(dirname "$0")/session_lib.sh"

# Positions on the face at 1x, doubled where the window is clicked.
at2() { echo $((2 * $1)) $((2 * $2)); }
printed_values() { sed -n "s/^param $1 = \([0-9.]*\)$/\1/p" "$scratch/edit.out"; }
wait_for_count() {  # wait_for_count INDEX N: up to 5 s for N printed values of the parameter
  for _ in $(seq 50); do
    [ "$(printed_values "$1" | grep -c .)" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

timeout 60 "$roomplate" snapshot --scale 2 -o "$scratch/face.png" >/dev/null || { echo "FAIL snapshot --scale 2"; exit 1; }
timeout 120 "$roomplate" edit --scale 2 >"$scratch/edit.out" 2>"$scratch/edit.err" &
editor_pid=$!
find_window
size=$(xwininfo -id "$window" | sed -n 's/.*Width: \([0-9]*\)/\1/p;s/.*Height: \([0-9]*\)/\1/p' | tr '\n' ' ')
[ "$size" = "1024 1024 " ] && pass "the window is 1024 x 1024" || fail "window size $size"
shown=1
for _ in $(seq 50); do
  timeout 10 import -window "$window" "$scratch/screen.png" 2>/dev/null &&
    "$png_compare" "$scratch/screen.png" "$scratch/face.png" >"$scratch/compare.log" && { shown=0; break; }
  sleep 0.1
done
[ "$shown" -eq 0 ] && pass "the face on screen is the 2x snapshot's" || { fail "the face on screen"; cat "$scratch/compare.log"; }

# The Tank switch lies at 398, 418 … 414, 434 on the face: "Init" has it on.
xdotool mousemove --window "$window" $(at2 406 426) click 1
wait_for_count 55 1 && [ "$(printed_values 55 | tail -n 1)" = "0.000" ] &&
  pass "a click on the Tank switch at its 2x position turns it off" || fail "Tank switch: $(printed_values 55)"

# WetOutput (parameter 26, 0.5 in "Init") at 340, 450: its body's middle.
sleep 0.6  # apart from the click before, so nothing here is a double-click
xdotool mousemove --window "$window" $(at2 352 462) click 4
wait_for_count 26 1 && [ "$(printed_values 26 | tail -n 1)" = "0.510" ] &&
  pass "a wheel notch over WetOutput turns it by 0.01: $(printed_values 26 | tail -n 1)" ||
  fail "wheel: $(printed_values 26)"
xdotool keydown shift click 5 keyup shift
wait_for_count 26 2 && [ "$(printed_values 26 | tail -n 1)" = "0.509" ] &&
  pass "with Shift a notch back turns it by 0.001: $(printed_values 26 | tail -n 1)" ||
  fail "Shift wheel: $(printed_values 26)"

# A double-click at 9 o'clock (346 - 6, 456): the first press takes the angle
# (1/6), the second returns the knob to the program's 0.5.
sleep 0.6
xdotool mousemove --window "$window" $(at2 340 456) click --repeat 2 --delay 120 1
wait_for_count 26 4 && [ "$(printed_values 26 | tail -n 2 | tr '\n' ' ')" = "0.167 0.500 " ] &&
  pass "a double-click returns WetOutput to the program's 0.500" || fail "double-click: $(printed_values 26)"

close_and_finish "$send_close"
