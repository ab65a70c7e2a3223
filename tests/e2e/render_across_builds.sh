#!/usr/bin/env bash
# The same input rendered natively through roomplate.so and under Wine through
# roomplate.dll (32-bit; the 64-bit DLL where the machine runs no 32-bit programs) gives the same samples, for both programs.
source "$(dirname "$0")/lib.sh"

render_pair() {  # render_pair PROGRAM EXTRA...: native and Wine renders of the demo, then compare
  local program=$1; shift
  "$LINUX_BIN/roomplate" render --program "$program" --tail 1 "$@" \
    --dry-out "$scratch/dry.wav" -o "$scratch/native-$program.wav" || return 1
  (cd "$WINDOWS_BIN" && "$WINE_RUN" roomplate.exe render --plugin "$WINDOWS_PLUGIN" --program "$program" --tail 1 "$@" \
    -o "$(winepath_of "$scratch/wine-$program.wav")") || return 1
  "$LINUX_BIN/wav_compare" "$scratch/native-$program.wav" "$scratch/wine-$program.wav"
}

check "Init: roomplate.so and roomplate.dll under Wine render the same samples" render_pair Init
check "Dattorro: the same samples across builds" render_pair Dattorro
check "stereo taps and odd blocks: the same samples across builds" render_pair 0 --block 333 --set 36=0.3 --set 43=0.7
finish
