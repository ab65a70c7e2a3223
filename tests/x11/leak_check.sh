#!/usr/bin/env bash
# Runs an editor cycle test (the VST 2 editor's or the LV2 UI's) under
# valgrind for a few and for many cycles: what is lost must not grow with the
# cycles. (What a short run loses too are the process-wide tables of the
# plug-in's window layer, made once and kept, which count as lost once the
# host unloads the library; how far they grew depends a little on how many
# paints the server's timing asked for, so a growth below 20 bytes per cycle
# is that, not a leak: an editor left behind is kilobytes.)
# Usage (on an X server): leak_check.sh CYCLE_TEST
set -u
if ! command -v valgrind >/dev/null 2>&1; then
  echo "skipped: valgrind is not installed"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

lost_bytes() {  # lost_bytes CYCLES: definitely plus indirectly lost bytes of one run
  ROOMPLATE_EDITOR_CYCLES=$1 valgrind --leak-check=full --log-file="$scratch/valgrind-$1.log" "$2" \
    >"$scratch/run-$1.log" 2>&1 || { cat "$scratch/run-$1.log" "$scratch/valgrind-$1.log" >&2; return 1; }
  awk '/definitely lost:|indirectly lost:/ { gsub(",", "", $4); sum += $4 } END { print sum + 0 }' \
    "$scratch/valgrind-$1.log"
}

few=$(lost_bytes 10 "$1") || exit 1
many=$(lost_bytes 110 "$1") || exit 1
echo "lost after 10 open/close cycles: $few bytes; after 110: $many bytes"
if [ $((many - few)) -ge $((100 * 20)) ]; then
  grep -A12 'definitely lost in' "$scratch/valgrind-110.log"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
