#!/usr/bin/env bash
# The Windows bundles load and process under Wine: our loader renders the
# same signal through the Linux module and, under Wine, through the 64-bit
# and the 32-bit Windows modules; the samples are the same to the bit.
source "$(dirname "$0")/lib.sh"
contents=Roomplate.vst3/Contents

winepath_of() { echo "Z:${1//\//\\}"; }

render_across() {  # render_across ARCHITECTURE PROGRAM BLOCK: the Linux and one Windows render, byte for byte
  local architecture=$1 program=$2 block=$3 folder=$MINGW64_BIN
  [ "$architecture" = x86-win ] && folder=$MINGW32_BIN
  "$LINUX_BIN/vst3_render" "$LINUX_BIN/$contents/x86_64-linux/Roomplate.so" "$scratch/linux.raw" "$program" "$block" ||
    return 1
  (cd "$folder" && "$WINE_RUN" vst3_render.exe "$contents/$architecture/Roomplate.vst3" \
    "$(winepath_of "$scratch/windows.raw")" "$program" "$block") || return 1
  cmp "$scratch/linux.raw" "$scratch/windows.raw"
}

architectures=x86_64-win
# The 32-bit module only where the machine runs 32-bit programs (lib.sh says when it does not).
[ "$WINDOWS_BIN" = "$MINGW32_BIN" ] && architectures="x86_64-win x86-win"
for architecture in $architectures; do
  check "$architecture, Init, blocks of 512: the Linux module's samples under Wine" render_across "$architecture" 0 512
  check "$architecture, Dattorro, blocks of 333: the same samples" render_across "$architecture" 1 333
done
finish
