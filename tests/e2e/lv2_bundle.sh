#!/usr/bin/env bash
# The LV2 bundle through Debian's own LV2 tools: lv2_validate finds no error,
# lv2info lists its ports, lv2apply renders the samples roomplate.so renders
# at 44.1 kHz, delays keep their milliseconds at 48 kHz, lv2bench runs it.
source "$(dirname "$0")/lib.sh"
PLUGIN=urn:roomplate:reverb
bundle=$LINUX_BIN/roomplate.lv2
# Only our bundle and the LV2 specifications, so no installed copy answers instead.
mkdir -p "$scratch/lv2"
ln -s "$bundle" "$scratch/lv2/roomplate.lv2"
export LV2_PATH=$scratch/lv2:/usr/lib/lv2
impulse_wav=$top/tests/e2e/impulse_wav.py

validate() {
  lv2_validate "$bundle"/*.ttl >"$scratch/validate.log" 2>&1 || { cat "$scratch/validate.log"; return 1; }
  grep -E 'error|warning' "$scratch/validate.log" | grep -v '^Found 0 errors' && return 1
  grep '^Found 0 errors' "$scratch/validate.log"
}
check "lv2_validate: no error, no warning" validate

ports() {
  lv2info "$PLUGIN" >"$scratch/info.txt" || return 1
  local counts
  counts=$(awk '/^\tPort/ {p=1; a=0; i=0; c=0} /AudioPort/ {a=1} /InputPort/ {i=1} /ControlPort/ {c=1}
    /^$/ && p { if (a && i) ai++; if (a && !i) ao++; if (c && i) ci++; p=0 }
    END { print ai + 0, ao + 0, ci + 0 }' "$scratch/info.txt")
  echo "audio in, audio out, control in: $counts"
  [ "$counts" = "2 2 58" ] || return 1
  grep -q 'Symbol:      wet_output' "$scratch/info.txt" && grep -q 'Name:        Wet Output' "$scratch/info.txt" &&
    grep -q 'Symbol:      enabled' "$scratch/info.txt" && grep -q 'Class:             Reverb Plugin' "$scratch/info.txt" &&
    ! grep -q 'Symbol:      about' "$scratch/info.txt"
}
check "lv2info: 2 audio in, 2 audio out, 57 parameters and the bypass as control inputs" ports

# preset_controls NAME: lv2apply's -c options for every port value of a preset in the bundle.
preset_controls() {
  awk -v label="\"$1\"" '
    /rdfs:label/ { inside = ($2 == label) }
    inside && /lv2:symbol/ { gsub(/[";]/, "", $2); symbol = $2 }
    inside && /pset:value/ { print "-c " symbol " " $2 }' "$bundle/presets.ttl"
}

# same_as_vst2 NAME VST2-OPTIONS -- LV2-OPTIONS: both renders of the dry demo, compared
same_as_vst2() {
  local name=$1; shift
  local vst=() lv2=()
  while [ "$1" != -- ]; do vst+=("$1"); shift; done
  shift
  lv2=("$@")
  "$LINUX_BIN/roomplate" render "$scratch/dry.wav" --tail 0 "${vst[@]}" -o "$scratch/vst2-$name.wav" >/dev/null 2>&1 ||
    return 1
  lv2apply -i "$scratch/dry.wav" -o "$scratch/lv2-$name.wav" "${lv2[@]}" "$PLUGIN" || return 1
  "$LINUX_BIN/wav_compare" "$scratch/vst2-$name.wav" "$scratch/lv2-$name.wav"
}
"$LINUX_BIN/roomplate" render --dry-out "$scratch/dry.wav" --tail 0 -o "$scratch/unused.wav" >/dev/null 2>&1
check "lv2apply at 44.1 kHz, port defaults: the samples of roomplate.so's Init" same_as_vst2 init --program Init --
# shellcheck disable=SC2046
check "lv2apply with the Dattorro preset's values: the samples of roomplate.so's Dattorro" \
  same_as_vst2 dattorro --program Dattorro -- $(preset_controls Dattorro)
check "lv2apply with edited parameters and a switch off: the samples of roomplate.so" \
  same_as_vst2 edited --set 25=0.125 --set 26=0.875 --set 30=0.25 --set 36=0.375 --set 45=0.6875 --set 55=0 -- \
  -c dry_output 0.125 -c wet_output 0.875 -c room_width 0.25 -c delay_left_1 0.375 -c delay_right_4 0.6875 -c tank 0

# At 48 kHz: the first reflection (image source 3.606 m away in the Init room)
# and the output taps (200 ms lines) land where the rate puts them.
timing_at_48k() {
  local rate=48000 isolate=(-c dry_output 0 -c tank 0 -c softener 0 -c state_variable 0)
  python3 "$impulse_wav" write "$scratch/impulse.wav" $rate 24000 || return 1
  lv2apply -i "$scratch/impulse.wav" -o "$scratch/early.wav" "${isolate[@]}" "$PLUGIN" || return 1
  lv2apply -i "$scratch/impulse.wav" -o "$scratch/taps.wav" "${isolate[@]}" \
    $(for tap in 1 2 3 4 5 6; do echo "-c delay_left_$tap 0.5 -c delay_right_$tap 0.25"; done) "$PLUGIN" || return 1
  # The engine runs at half the rate: a delay of d seconds is floor(d * rate / 2) pairs.
  local reflection left right
  reflection=$(python3 -c "import math; print(2 * math.floor(math.hypot(3, 2) / 343 * $rate / 2))")
  left=$((reflection + 2 * (rate / 2 / 10)))   # 0.5 of 200 ms
  right=$((reflection + 2 * (rate / 2 / 20)))  # 0.25 of 200 ms
  local got
  got="$(python3 "$impulse_wav" first "$scratch/early.wav" 0) $(python3 "$impulse_wav" first "$scratch/taps.wav" 0)"
  got="$got $(python3 "$impulse_wav" first "$scratch/taps.wav" 1)"
  echo "first sound at frames: expected $reflection $left $right, got $got"
  [ "$got" = "$reflection $left $right" ]
}
check "48 kHz: first reflection at 10.5 ms, output taps 100 ms and 50 ms after it, to the pair" timing_at_48k

bench() {
  lv2bench -n 441000 -b 512 "$PLUGIN" >"$scratch/bench.txt" 2>&1 || { cat "$scratch/bench.txt"; return 1; }
  cat "$scratch/bench.txt"
  grep -q "$PLUGIN" "$scratch/bench.txt"
}
check "lv2bench runs it" bench
finish
