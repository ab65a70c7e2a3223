#!/usr/bin/env bash
# The editor's face drawn by the CLI at each scale, pixel for pixel against the
# checked-in pictures: 1x is the README's docs/editor.png (through the VST 2
# plug-in), 1.5x and 2x the pictures beside this script (through the CLAP
# plug-in, which negotiates a scale). On a mismatch the drawn picture is kept
# in the build folder.
# Usage: scaled_face_test.sh ROOMPLATE PNG_COMPARE
set -u
roomplate=$1
png_compare=$2
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
failures=0
check_scale() {  # check_scale SCALE REFERENCE
  local scale=$1 reference=$2 drawn
  drawn="$PWD/face-${scale}x.png"
  if ! timeout 60 "$roomplate" snapshot --scale "$scale" -o "$drawn" >/dev/null; then
    echo "FAIL snapshot --scale $scale"; failures=$((failures + 1)); return
  fi
  if "$png_compare" "$drawn" "$reference" >"$PWD/face-${scale}x.log"; then
    echo "ok   ${scale}x: $(tail -n 1 "$PWD/face-${scale}x.log")"
    rm -f "$drawn"
  else
    echo "FAIL ${scale}x against $reference (drawn: $drawn)"; sed 's/^/     /' "$PWD/face-${scale}x.log"
    failures=$((failures + 1))
  fi
}
check_scale 1 "$top/docs/editor.png"
check_scale 1.5 "$here/pictures/face-1.5x.png"
check_scale 2 "$here/pictures/face-2x.png"
[ "$failures" -eq 0 ]
