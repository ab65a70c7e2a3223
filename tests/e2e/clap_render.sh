#!/usr/bin/env bash
# roomplate.clap through our CLI: at 44.1 kHz the same samples as roomplate.so
# for both programs and stray settings, the win64 build under Wine the same
# samples again, its record and programs listed, and the two formats timed
# side by side in one bench run.
source "$(dirname "$0")/lib.sh"
CLAP=$LINUX_BIN/roomplate.clap

render_both() {  # render_both ARGS...: the VST 2 and the CLAP render of the demo, compared
  "$LINUX_BIN/roomplate" render --tail 1 "$@" -o "$scratch/vst2.wav" || return 1
  "$LINUX_BIN/roomplate" render --tail 1 "$@" --plugin "$CLAP" -o "$scratch/clap.wav" || return 1
  "$LINUX_BIN/wav_compare" "$scratch/vst2.wav" "$scratch/clap.wav"
}

info_lists_programs() {
  "$LINUX_BIN/roomplate" info --plugin "$CLAP" >"$scratch/info.txt" || return 1
  grep -qx 'program 0: Init' "$scratch/info.txt" && grep -qx 'program 1: Dattorro' "$scratch/info.txt" &&
    grep -qx 'parameters: 58' "$scratch/info.txt" && grep -q '^param 26: 0.500000 name "Wet Output" display "-6 db"' "$scratch/info.txt"
}

bench_side_by_side() {
  "$LINUX_BIN/roomplate" bench --seconds 2 --rounds 3 --plugin "$LINUX_BIN/roomplate.so" --plugin "$CLAP" \
    >"$scratch/bench.txt" || return 1
  cat "$scratch/bench.txt"
  grep -q '^roomplate.so ' "$scratch/bench.txt" && grep -q '^roomplate.clap ' "$scratch/bench.txt"
}

check "Init: roomplate.clap renders the samples of roomplate.so" render_both --program Init
check "Dattorro: the same samples in both formats" render_both --program Dattorro
check "settings and blocks of 64: the same samples" render_both --program 0 --block 64 --set 36=0.3 --set 43=0.7 --set 53=0
"$LINUX_BIN/roomplate" render --tail 0 --dry-out "$scratch/dry.wav" -o "$scratch/first.wav" >/dev/null
check "a file in and 24-bit PCM out: the same samples" render_both "$scratch/dry.wav" --format pcm24
wine_render() {  # wine_render PROGRAM: the win64 roomplate.clap under Wine against the native one
  "$LINUX_BIN/roomplate" render --program "$1" --tail 1 --plugin "$CLAP" -o "$scratch/native.wav" || return 1
  (cd "$MINGW64_BIN" && "$WINE_RUN" roomplate.exe render --plugin roomplate.clap --program "$1" --tail 1 \
    -o "$(winepath_of "$scratch/wine.wav")") || return 1
  "$LINUX_BIN/wav_compare" "$scratch/native.wav" "$scratch/wine.wav"
}
check "Init: the win64 roomplate.clap under Wine renders the native samples" wine_render Init
check "Dattorro: the same across builds" wine_render Dattorro
check "info lists the programs and the parameters of roomplate.clap" info_lists_programs
check "bench times roomplate.so and roomplate.clap in one run" bench_side_by_side
finish
