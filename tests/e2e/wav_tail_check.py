#!/usr/bin/env python3
"""wav_tail_check.py FILE BURST_SECONDS: checks that a stereo 16-bit WAV
export of a short burst through a reverb holds the reverb's tail: after
the burst the output is not silent, and it decays (its last half second
is at least 20 dB below the half second right after the burst). Prints the
levels it measured."""
import math
import struct
import sys
import wave


def rms_db(samples):
    if not samples:
        return -math.inf
    mean_square = sum(s * s for s in samples) / len(samples)
    return 10 * math.log10(mean_square) if mean_square > 0 else -math.inf


def main():
    path, burst_seconds = sys.argv[1], float(sys.argv[2])
    with wave.open(path, "rb") as wav:
        if wav.getsampwidth() != 2 or wav.getnchannels() != 2:
            sys.exit(f"{path}: expected stereo 16-bit PCM")
        rate = wav.getframerate()
        frames = wav.readframes(wav.getnframes())
    samples = [s / 32768.0 for s in struct.unpack(f"<{len(frames) // 2}h", frames)]
    half_second = rate // 2 * 2  # two channels interleaved
    burst_end = int(burst_seconds * rate) * 2
    burst = rms_db(samples[:burst_end])
    early_tail = rms_db(samples[burst_end:burst_end + half_second])
    late_tail = rms_db(samples[-half_second:])
    print(f"burst {burst:.1f} dBFS, tail after it {early_tail:.1f} dBFS, last 0.5 s {late_tail:.1f} dBFS")
    if early_tail < -60:
        sys.exit("no tail: the output after the burst is silent")
    if not late_tail <= early_tail - 20:
        sys.exit("the tail does not decay")


if __name__ == "__main__":
    main()
