#!/usr/bin/env bash
# The editor drawn natively through our own window layer (roomplate.so) and
# under Wine through real GDI (roomplate.dll, 32-bit, or the 64-bit DLL where 32-bit programs do not run) gives the same picture
# everywhere outside the value displays, whose text each renders in its own font.
source "$(dirname "$0")/lib.sh"

snapshot_pair() {  # snapshot_pair NAME OPTIONS...: native and Wine snapshots, then compare
  local name=$1; shift
  "$LINUX_BIN/roomplate" snapshot "$@" -o "$scratch/native-$name.png" || return 1
  (cd "$WINDOWS_BIN" && "$WINE_RUN" roomplate.exe snapshot --plugin "$WINDOWS_PLUGIN" "$@" \
    -o "$(winepath_of "$scratch/wine-$name.png")") || return 1
  "$LINUX_BIN/png_compare" "$scratch/native-$name.png" "$scratch/wine-$name.png" --skip-displays
}

check "the face: the same pixels natively and under Wine" snapshot_pair face
check "Dattorro with knobs and switches moved: the same pixels" \
  snapshot_pair moved --program Dattorro --set 26=0.9 --set 3=0.1 --set 55=0 --set 42=0.5
check "the credits picture: the same pixels" snapshot_pair about --about

# The face at 1.5x and 2x through roomplate.clap (64-bit Windows builds carry
# it): Wine's against our own, and against the checked-in picture.
scaled_pair() {  # scaled_pair SCALE
  (cd "$MINGW64_BIN" && "$WINE_RUN" roomplate.exe snapshot --scale "$1" \
    -o "$(winepath_of "$scratch/wine-$1x.png")") || return 1
  "$LINUX_BIN/roomplate" snapshot --scale "$1" -o "$scratch/native-$1x.png" || return 1
  "$LINUX_BIN/png_compare" "$scratch/native-$1x.png" "$scratch/wine-$1x.png" --skip-displays --scale "$1" &&
    "$LINUX_BIN/png_compare" "$scratch/wine-$1x.png" "$top/tests/editor/pictures/face-$1x.png" --skip-displays \
      --scale "$1"
}
for scale in 1.5 2; do
  check "the face at ${scale}x: the same pixels natively, under Wine and in the checked-in picture" scaled_pair "$scale"
done
finish
