#!/usr/bin/env bash
# The CLI as a user runs it: bad input gives one line on stderr, exit code 2
# and no output file; good input gives files of the right shape.
set -u
roomplate=$1
echo_plugin=${2:-}  # a plug-in without an editor
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
checks=0
mverb=/usr/lib/vst/MVerb-vst.so
dragonfly=/usr/lib/lxvst/DragonflyPlateReverb-vst.so

pass() { checks=$((checks + 1)); echo "ok   $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL $*"; }

run_dir=$scratch
expect_usage_error() {
  local what=$1; shift
  (cd "$run_dir" && exec "$roomplate" "$@") >"$scratch/out" 2>"$scratch/err"
  local code=$?
  local lines
  lines=$(wc -l <"$scratch/err")
  if [ "$code" -ne 2 ] || [ "$lines" -ne 1 ]; then
    fail "$what: exit $code, $lines stderr lines"; cat "$scratch/err"
  else
    pass "$what: $(cat "$scratch/err")"
  fi
}

# Like expect_usage_error, run in an empty folder for the outputs: nothing may be left in it.
expect_render_error() {
  local what=$1; shift
  rm -rf "$scratch/run" && mkdir "$scratch/run"
  run_dir=$scratch/run
  expect_usage_error "$what" "$@"
  run_dir=$scratch
  local left
  left=$(ls -A "$scratch/run")
  [ -z "$left" ] || fail "$what left files behind: $left"
}

# wav_shape FILE: "CHANNELS RATE BITS FRAMES" from the file's header.
wav_shape() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
assert data[:4] == b'RIFF' and data[8:12] == b'WAVE', 'not a WAV file'
pos, fmt, frames = 12, None, None
while pos + 8 <= len(data):
    chunk, size = data[pos:pos + 4], struct.unpack('<I', data[pos + 4:pos + 8])[0]
    if chunk == b'fmt ':
        fmt = struct.unpack('<HHIIHH', data[pos + 8:pos + 24])
    elif chunk == b'data':
        frames = size // fmt[4]
    pos += 8 + size + (size & 1)
print(fmt[1], fmt[2], fmt[5], frames)
PY
}

expect_shape() {
  local what=$1 file=$2 expected=$3
  local shape
  shape=$(wav_shape "$file" 2>&1)
  if [ "$shape" = "$expected" ]; then pass "$what: $shape"; else fail "$what: $shape, expected $expected"; fi
}

echo "not a library" >"$scratch/text.so"
echo "not audio" >"$scratch/text.wav"
expect_usage_error "missing plug-in file" info --plugin "$scratch/missing.so"
expect_usage_error "text file as plug-in" info --plugin "$scratch/text.so"
expect_usage_error "library without entry" info --plugin "$(ls /usr/lib/x86_64-linux-gnu/libz.so.* | head -n 1)"
expect_usage_error "unknown option" info --bogus
expect_usage_error "no subcommand"

if [ -f "$mverb" ]; then
  "$roomplate" info --plugin "$mverb" >"$scratch/mverb" 2>&1
  if grep -q '^parameters: 9$' "$scratch/mverb" && grep -q '^inputs: 2$' "$scratch/mverb" && grep -q 'name "Damping"' "$scratch/mverb"; then
    pass "MVerb info"
  else
    fail "MVerb info"; cat "$scratch/mverb"
  fi

  # render: every refusal before or during the run leaves no file.
  expect_render_error "render: block 0" render --plugin "$mverb" --block 0
  expect_render_error "render: block above 8192" render --plugin "$mverb" --block 8193
  expect_render_error "render: block not a number" render --plugin "$mverb" --block many
  expect_render_error "render: negative tail" render --plugin "$mverb" --tail -1
  expect_render_error "render: tail above 60 s" render --plugin "$mverb" --tail 61
  expect_render_error "render: tail not a number" render --plugin "$mverb" --tail nan
  expect_render_error "render: unknown format" render --plugin "$mverb" --format mp3
  expect_render_error "render: unknown program name" render --plugin "$mverb" --program Cathedral
  expect_render_error "render: program number past the last" render --plugin "$mverb" --program 1
  expect_render_error "render: parameter index past the last" render --plugin "$mverb" --set 9=0.5
  expect_render_error "render: parameter value not a number" render --plugin "$mverb" --set 3=loud
  expect_render_error "render: parameter value above 1" render --plugin "$mverb" --set 3=1.5
  expect_render_error "render: setting without =" render --plugin "$mverb" --set 3
  expect_render_error "render: missing input" render "$scratch/missing.wav" -o out.wav --plugin "$mverb"
  expect_render_error "render: input not audio" render "$scratch/text.wav" -o out.wav --plugin "$mverb"
  expect_render_error "render: missing plug-in" render -o out.wav --plugin "$scratch/missing.so"
  expect_render_error "render: plug-in not a library" render -o out.wav --plugin "$scratch/text.so"
  expect_render_error "render: output not .wav" render -o out.flac --plugin "$mverb"
  expect_render_error "render: output folder missing" render -o missing/out.wav --plugin "$mverb"
  expect_render_error "render: the dry file is not kept when the wet one fails" render --dry-out dry.wav -o missing/out.wav --plugin "$mverb"
  expect_render_error "render: dry output with an input" render "$scratch/text.wav" --dry-out dry.wav --plugin "$mverb"
  expect_render_error "render: two inputs" render a.wav b.wav --plugin "$mverb"

  # The demo through MVerb: dry 4 s, wet 4 s plus the tail, in the default float format.
  (cd "$scratch" && "$roomplate" render --plugin "$mverb" --tail 0.5 --dry-out dry.wav >/dev/null 2>"$scratch/err")
  if [ $? -eq 0 ]; then pass "render the demo"; else fail "render the demo"; cat "$scratch/err"; fi
  expect_shape "demo dry" "$scratch/dry.wav" "2 44100 32 176400"
  expect_shape "demo wet, default name" "$scratch/roomplate-demo-wet.wav" "2 44100 32 198450"
  expect_render_error "render: output would replace the input" render "$scratch/dry.wav" -o "$scratch/dry.wav" --plugin "$mverb"

  # A mono 16-bit file at 22050 Hz: the rate is kept, both channels are written, the name gets -wet.
  python3 - "$scratch/mono.wav" <<'PY'
import sys, wave, struct
with wave.open(sys.argv[1], 'wb') as out:
    out.setnchannels(1); out.setsampwidth(2); out.setframerate(22050)
    out.writeframes(b''.join(struct.pack('<h', 8000 if i % 2205 == 0 else 0) for i in range(11025)))
PY
  "$roomplate" render "$scratch/mono.wav" --plugin "$mverb" --tail 0.2 --format pcm24 --block 300 \
    --set 0=0.5 >/dev/null 2>"$scratch/err" && pass "render a mono file" || { fail "render a mono file"; cat "$scratch/err"; }
  expect_shape "mono in, stereo PCM24 out at the input's rate" "$scratch/mono-wet.wav" "2 22050 24 15435"
fi

if [ -f "$dragonfly" ] && [ -f "$scratch/dry.wav" ]; then
  "$roomplate" render "$scratch/dry.wav" -o "$scratch/plate.wav" --plugin "$dragonfly" --program 0 --tail 0 \
    --format pcm16 >/dev/null 2>"$scratch/err" && pass "render through Dragonfly" || { fail "render through Dragonfly"; cat "$scratch/err"; }
  expect_shape "Dragonfly, no tail, PCM16" "$scratch/plate.wav" "2 44100 16 176400"
fi

# snapshot: refusals leave no file; the real editor gives a 512 x 512 PNG.
png_size() {  # png_size FILE: "WIDTH HEIGHT" from the PNG header
  python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print(*struct.unpack(">II", d[16:24]))' "$1"
}
expect_render_error "snapshot: output not .png" snapshot -o editor.bmp
expect_render_error "snapshot: missing plug-in" snapshot -o editor.png --plugin "$scratch/missing.so"
expect_render_error "snapshot: unknown program" snapshot -o editor.png --program Cathedral
expect_render_error "snapshot: parameter index past the last" snapshot -o editor.png --set 58=0.5
expect_render_error "snapshot: output folder missing" snapshot -o missing/editor.png
if [ -n "$echo_plugin" ]; then
  expect_render_error "snapshot: a plug-in without editor" snapshot -o editor.png --plugin "$echo_plugin"
fi
expect_render_error "snapshot: a scale the editor does not draw" snapshot -o editor.png --scale 3
expect_render_error "snapshot: the VST 2 plug-in keeps its size" snapshot -o editor.png --scale 2 \
  --plugin "$(dirname "$roomplate")/roomplate.so"
rm -rf "$scratch/run" && mkdir "$scratch/run"
if (cd "$scratch/run" && "$roomplate" snapshot --program Dattorro --about >/dev/null 2>"$scratch/err"); then
  size=$(png_size "$scratch/run/editor.png" 2>&1)
  [ "$size" = "512 512" ] && pass "snapshot: editor.png, $size" || fail "snapshot: editor.png is $size"
  left=$(ls -A "$scratch/run")
  [ "$left" = "editor.png" ] && pass "snapshot: only editor.png written" || fail "snapshot left: $left"
else
  fail "snapshot of the editor"; cat "$scratch/err"
fi

# edit: without an X display it says so; without an editor likewise.
if [ -n "$echo_plugin" ]; then
  DISPLAY=:31999 expect_usage_error "edit: a plug-in without editor" edit --plugin "$echo_plugin"
fi
DISPLAY= expect_usage_error "edit: no X display" edit

# bench
expect_usage_error "bench: missing plug-in" bench --plugin "$scratch/missing.so"
expect_usage_error "bench: no seconds" bench --plugin "$mverb" --seconds 0
expect_usage_error "bench: no rounds" bench --plugin "$mverb" --rounds 0
expect_usage_error "bench: block above 8192" bench --plugin "$mverb" --block 9000
if [ -f "$mverb" ] && [ -f "$dragonfly" ]; then
  "$roomplate" bench --plugin "$mverb" --plugin "$dragonfly" --seconds 0.5 --rounds 3 >"$scratch/bench" 2>&1
  if [ $? -eq 0 ] && grep -qE '^MVerb-vst\.so +[0-9.]+x +1\.00$' "$scratch/bench" &&
    grep -qE '^DragonflyPlateReverb-vst\.so +[0-9.]+x +[0-9.]+$' "$scratch/bench"; then
    pass "bench two plug-ins"
  else
    fail "bench two plug-ins"; cat "$scratch/bench"
  fi
fi
# The version the CLI reports is the build's single version number.
version=$(sed -n 's/^project(Roomplate VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
if [ -n "$version" ] && [ "$("$roomplate" --version)" = "roomplate $version" ]; then
  pass "--version prints the build's version"
else
  fail "--version: got '$("$roomplate" --version)', want 'roomplate $version'"
fi
for command in render info bench snapshot edit; do
  if "$roomplate" "$command" --help | grep -q '^Example'; then pass "$command --help has examples"; else fail "$command --help has no examples"; fi
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
