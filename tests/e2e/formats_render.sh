#!/usr/bin/env bash
# roomplate.clap and Roomplate.vst3 through our CLI: at 44.1 kHz the same
# samples as roomplate.so for both programs and stray settings, the win64
# builds under Wine the same samples again, records and programs listed, and
# the three formats timed side by side in one bench run.
source "$(dirname "$0")/lib.sh"
CLAP=$LINUX_BIN/roomplate.clap
VST3=$LINUX_BIN/Roomplate.vst3

render_both() {  # render_both PLUGIN ARGS...: the VST 2 and PLUGIN's render of the demo, compared
  local plugin=$1; shift
  "$LINUX_BIN/roomplate" render --tail 1 "$@" -o "$scratch/vst2.wav" || return 1
  "$LINUX_BIN/roomplate" render --tail 1 "$@" --plugin "$plugin" -o "$scratch/other.wav" || return 1
  "$LINUX_BIN/wav_compare" "$scratch/vst2.wav" "$scratch/other.wav"
}

info_lists_programs() {  # info_lists_programs PLUGIN: a VST 3 value text leaves its unit to the label
  "$LINUX_BIN/roomplate" info --plugin "$1" >"$scratch/info.txt" || return 1
  grep -qx 'program 0: Init' "$scratch/info.txt" && grep -qx 'program 1: Dattorro' "$scratch/info.txt" &&
    grep -qx 'parameters: 58' "$scratch/info.txt" && grep -Eq '^param 26: 0.500000 name "Wet Output" display "-6( db"|" label "dB")$' "$scratch/info.txt"
}

bench_side_by_side() {
  "$LINUX_BIN/roomplate" bench --seconds 2 --rounds 3 --plugin "$LINUX_BIN/roomplate.so" --plugin "$CLAP" \
    --plugin "$VST3" >"$scratch/bench.txt" || return 1
  cat "$scratch/bench.txt"
  grep -q '^roomplate.so ' "$scratch/bench.txt" && grep -q '^roomplate.clap ' "$scratch/bench.txt" &&
    grep -q '^Roomplate.vst3 ' "$scratch/bench.txt"
}

wine_render() {  # wine_render PLUGIN PROGRAM: the win64 PLUGIN under Wine against the native one
  local native=$LINUX_BIN/$1
  [ "$1" = roomplate.clap ] || native=$VST3
  "$LINUX_BIN/roomplate" render --program "$2" --tail 1 --plugin "$native" -o "$scratch/native.wav" || return 1
  (cd "$MINGW64_BIN" && "$WINE_RUN" roomplate.exe render --plugin "$1" --program "$2" --tail 1 \
    -o "$(winepath_of "$scratch/wine.wav")") || return 1
  "$LINUX_BIN/wav_compare" "$scratch/native.wav" "$scratch/wine.wav"
}

"$LINUX_BIN/roomplate" render --tail 0 --dry-out "$scratch/dry.wav" -o "$scratch/first.wav" >/dev/null
for plugin in "$CLAP" "$VST3"; do
  name=$(basename "$plugin")
  check "Init: $name renders the samples of roomplate.so" render_both "$plugin" --program Init
  check "Dattorro: the same samples through $name" render_both "$plugin" --program Dattorro
  check "settings and blocks of 64: the same samples through $name" \
    render_both "$plugin" --program 0 --block 64 --set 36=0.3 --set 43=0.7 --set 53=0
  check "a file in and 24-bit PCM out: the same samples through $name" render_both "$plugin" "$scratch/dry.wav" --format pcm24
  check "Init: the win64 $name under Wine renders the native samples" wine_render "$name" Init
  check "Dattorro: the same across builds through $name" wine_render "$name" Dattorro
  check "info lists the programs and the parameters of $name" info_lists_programs "$plugin"
done
check "bench times roomplate.so, roomplate.clap and Roomplate.vst3 in one run" bench_side_by_side
finish
