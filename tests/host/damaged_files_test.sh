#!/usr/bin/env bash
# Damaged and hostile input files through `roomplate render`: each one either
# renders exactly as the same samples in a sound file do, or gives one line on
# stderr and exit 2 and leaves nothing in the output folder.
set -u
roomplate=$1
echo_plugin=$2  # a cheap plug-in, for the long renders that are interrupted
scratch=$(mktemp -d)
trap 'kill -CONT "${render_pid:-0}" 2>/dev/null; rm -rf "$scratch"' EXIT
failures=0
checks=0
pass() { checks=$((checks + 1)); echo "ok   $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL $*"; }

corpus=$scratch/corpus
mkdir "$corpus"
python3 - "$corpus" <<'PY'
import math, os, struct, sys
folder = sys.argv[1]

def chunk(name, body, size=None):
    return name + struct.pack('<I', len(body) if size is None else size) + body + (b'\0' if len(body) % 2 else b'')

def fmt(channels=1, rate=44100, bits=16, tag=1, align=None, size=None):
    align = channels * bits // 8 if align is None else align
    return chunk(b'fmt ', struct.pack('<HHIIHH', tag, channels, rate, rate * align & 0xFFFFFFFF, align, bits), size)

def riff(*chunks, size=None):
    body = b'WAVE' + b''.join(chunks)
    return b'RIFF' + struct.pack('<I', len(body) if size is None else size) + body

frames = 3000
pcm = b''.join(struct.pack('<h', int(12000 * math.sin(i / 7.0)) if i < 800 else 0) for i in range(frames))
floats = [0.5 * math.sin(i / 5.0) if i < 800 else 0.0 for i in range(frames)]

def float_data(samples):
    return struct.pack('<%df' % len(samples), *samples)

def write(name, data):
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)

# The sound references the damaged files that render are compared with.
write('sound.wav', riff(fmt(), chunk(b'data', pcm)))
write('sound-float.wav', riff(fmt(bits=32, tag=3), chunk(b'data', float_data(floats))))
write('sound-short.wav', riff(fmt(), chunk(b'data', pcm[:2 * 1001])))

# Refused.
write('empty.wav', b'')
write('riff-only.wav', b'RIFF\x10\0\0\0WA')
write('header-cut-in-fmt.wav', riff(fmt())[:30])
write('no-data-chunk.wav', riff(fmt()))
write('zero-channels.wav', riff(fmt(channels=0, align=2), chunk(b'data', pcm)))
write('zero-rate.wav', riff(fmt(rate=0), chunk(b'data', pcm)))
write('rate-4-GHz.wav', riff(fmt(rate=4000000000), chunk(b'data', pcm)))
write('rate-2-GHz.wav', riff(fmt(rate=2000000000), chunk(b'data', pcm)))
write('65535-channels.wav', riff(fmt(channels=65535, align=2), chunk(b'data', pcm)))
write('zero-bits.wav', riff(fmt(bits=0, align=2), chunk(b'data', pcm)))
write('fmt-size-4-GiB.wav', riff(fmt(size=0xFFFFFFF0), chunk(b'data', pcm)))
write('unknown-encoding.wav', riff(fmt(tag=0x7777), chunk(b'data', pcm)))
nan_samples = list(floats); nan_samples[1234] = float('nan')
write('nan-sample.wav', riff(fmt(bits=32, tag=3), chunk(b'data', float_data(nan_samples))))
inf_samples = list(floats); inf_samples[2999] = float('-inf')
write('infinite-sample.wav', riff(fmt(bits=32, tag=3), chunk(b'data', float_data(inf_samples))))
write('aiff-header-only.aiff', b'FORM\0\0\0\x2eAIFFCOMM\0\0\0\x12\0\x01\x7f\xff\xff\xff\0\x10\x40\x0e\xac\x44' + b'\0' * 6)

# Rendered as the sound references are.
write('data-claims-a-billion-frames.wav', riff(fmt(), chunk(b'data', pcm, size=2000000000)))
write('riff-size-4-GiB.wav', riff(fmt(), chunk(b'data', pcm), size=0xFFFFFFFF))
write('riff-size-zero.wav', riff(fmt(), chunk(b'data', pcm), size=0))
write('half-frame-at-end.wav', riff(fmt(), chunk(b'data', pcm[:2 * 1001] + b'\x01')))
write('huge-finite-samples.wav', riff(fmt(bits=32, tag=3), chunk(b'data', float_data([3.0e38] * 500 + [0.0] * 2500))))
PY

run=$scratch/run
# render_to FILE [ARGS...]: renders FILE into an empty folder; sets code, lines and left.
render_to() {
  local input=$1; shift
  rm -rf "$run" && mkdir "$run"
  timeout 60 "$roomplate" render "$input" -o "$run/out.wav" --tail 0.1 "$@" >"$scratch/stdout" 2>"$scratch/err"
  code=$?
  lines=$(wc -l <"$scratch/err")
  left=$(ls -A "$run")
}

expect_refused() {
  local what=$1 input=$2
  render_to "$input"
  if [ "$code" -eq 2 ] && [ "$lines" -eq 1 ] && [ -z "$left" ]; then
    pass "$what: $(cat "$scratch/err")"
  else
    fail "$what: exit $code, $lines stderr lines, left: ${left:-nothing}"; cat "$scratch/err"
  fi
}

# expect_rendered_as WHAT DAMAGED SOUND: both render to the same bytes.
expect_rendered_as() {
  local what=$1 input=$2 reference=$3
  render_to "$reference"
  cp "$run/out.wav" "$scratch/reference-out.wav" 2>/dev/null
  render_to "$input"
  if [ "$code" -ne 0 ] || [ "$left" != "out.wav" ]; then
    fail "$what: exit $code, left: ${left:-nothing}"; cat "$scratch/err"
  elif cmp -s "$run/out.wav" "$scratch/reference-out.wav"; then
    pass "$what: rendered as $(basename "$reference")"
  else
    fail "$what: the render differs from $(basename "$reference")'s"
  fi
}

for file in empty.wav riff-only.wav header-cut-in-fmt.wav no-data-chunk.wav zero-channels.wav zero-rate.wav \
            rate-4-GHz.wav rate-2-GHz.wav 65535-channels.wav zero-bits.wav fmt-size-4-GiB.wav \
            unknown-encoding.wav nan-sample.wav infinite-sample.wav aiff-header-only.aiff; do
  expect_refused "$file" "$corpus/$file"
done
mkdir "$corpus/folder.wav"
expect_refused "a folder" "$corpus/folder.wav"
mkfifo "$corpus/fifo.wav"
expect_refused "a FIFO with no writer" "$corpus/fifo.wav"
expect_refused "a device" /dev/zero

expect_rendered_as "data chunk claims a billion frames" "$corpus/data-claims-a-billion-frames.wav" "$corpus/sound.wav"
expect_rendered_as "RIFF size 4 GiB" "$corpus/riff-size-4-GiB.wav" "$corpus/sound.wav"
expect_rendered_as "RIFF size zero" "$corpus/riff-size-zero.wav" "$corpus/sound.wav"
expect_rendered_as "half a frame at the end" "$corpus/half-frame-at-end.wav" "$corpus/sound-short.wav"

render_to "$corpus/huge-finite-samples.wav"
if [ "$code" -eq 0 ] && [ "$left" = "out.wav" ]; then
  pass "samples of 3e38 render (the output stays finite)"
else
  fail "samples of 3e38: exit $code, left: ${left:-nothing}"; cat "$scratch/err"
fi

# A long input rendered one frame a call through the echo plug-in; the render is
# paused once its output has begun, the input changed, and the render resumed.
python3 - "$scratch/long.wav" <<'PY'
import struct, sys
frames = 44100 * 10
data = bytes(2 * frames)
with open(sys.argv[1], 'wb') as out:
    out.write(b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE')
    out.write(b'fmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 44100, 88200, 2, 16))
    out.write(b'data' + struct.pack('<I', len(data)) + data)
PY
# change_mid_read WHAT ACTION: runs ACTION on the input while the render is paused mid-read.
change_mid_read() {
  local what=$1 action=$2
  cp "$scratch/long.wav" "$scratch/input.wav"
  rm -rf "$run" && mkdir "$run"
  "$roomplate" render "$scratch/input.wav" -o "$run/out.wav" --tail 0 --block 1 --plugin "$echo_plugin" \
    >/dev/null 2>"$scratch/err" &
  render_pid=$!
  for _ in $(seq 1000); do
    [ -n "$(ls -A "$run")" ] && break
    sleep 0.01
  done
  kill -STOP "$render_pid"
  partial=$(ls -A "$run")
  $action "$scratch/input.wav"
  kill -CONT "$render_pid"
  wait "$render_pid"
  code=$?
  render_pid=
  lines=$(wc -l <"$scratch/err")
  left=$(ls -A "$run")
  case $partial in
    *.partial) ;;
    *) fail "$what: the render was not caught mid-way (folder: ${partial:-empty})"; return ;;
  esac
}
cut_file() { truncate -s 4096 "$1"; }
change_mid_read "the input cut mid-read" cut_file
if [ "$code" -eq 2 ] && [ "$lines" -eq 1 ] && [ -z "$left" ]; then
  pass "the input cut mid-read: $(cat "$scratch/err")"
else
  fail "the input cut mid-read: exit $code, $lines stderr lines, left: ${left:-nothing}"; cat "$scratch/err"
fi
change_mid_read "the input removed mid-read" rm
if [ "$code" -eq 0 ] && [ "$left" = "out.wav" ] && [ "$(stat -c %s "$run/out.wav")" -gt $((8 * 44100 * 10)) ]; then
  pass "the input removed mid-read: rendered whole from the open file"
else
  fail "the input removed mid-read: exit $code, left: ${left:-nothing}"; cat "$scratch/err"
fi
terminate() { kill -TERM "$render_pid"; }
change_mid_read "the render terminated" terminate
if [ "$code" -eq 2 ] && [ "$lines" -eq 1 ] && [ -z "$left" ]; then
  pass "the render terminated (SIGTERM): $(cat "$scratch/err")"
else
  fail "the render terminated (SIGTERM): exit $code, $lines stderr lines, left: ${left:-nothing}"; cat "$scratch/err"
fi

echo "$checks checks, $failures failed"
[ "$failures" -eq 0 ]
