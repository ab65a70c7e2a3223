#!/usr/bin/env bash
# The Windows bundles load and process under Wine: our loader renders the
# same signal through the Linux module and, under Wine, through the 64-bit
# and the 32-bit Windows modules; the samples are the same to the bit.
source "$(dirname "$0")/lib.sh"
contents=Roomplate.vst3/Contents

winepath_of() { echo "Z:${1//\//\\}"; }

render_across() {  # render_across PROGRAM BLOCK: native and both Windows renders, compared byte for byte
  local program=$1 block=$2
  "$LINUX_BIN/vst3_render" "$LINUX_BIN/$contents/x86_64-linux/Roomplate.so" "$scratch/linux.raw" "$program" "$block" ||
    return 1
  (cd "$MINGW64_BIN" && "$WINE_RUN" vst3_render.exe "$contents/x86_64-win/Roomplate.vst3" \
    "$(winepath_of "$scratch/win64.raw")" "$program" "$block") || return 1
  (cd "$MINGW32_BIN" && "$WINE_RUN" vst3_render.exe "$contents/x86-win/Roomplate.vst3" \
    "$(winepath_of "$scratch/win32.raw")" "$program" "$block") || return 1
  cmp "$scratch/linux.raw" "$scratch/win64.raw" && cmp "$scratch/linux.raw" "$scratch/win32.raw"
}

check "Init, blocks of 512: Linux, x86_64-win and x86-win modules give the same samples" render_across 0 512
check "Dattorro, blocks of 333: the same samples across builds" render_across 1 333
finish
