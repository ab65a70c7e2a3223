#!/usr/bin/env python3
"""Stereo 32-bit float WAV files for the LV2 timing checks.

impulse_wav.py write FILE RATE FRAMES     a unit impulse on both channels at frame 0
impulse_wav.py first FILE CHANNEL         the first frame whose sample is not silent (-1: none)
"""
import struct
import sys


def write(path, rate, frames):
    data = bytearray(frames * 8)
    struct.pack_into("<ff", data, 0, 1.0, 1.0)
    fmt = struct.pack("<IHHIIHH", 16, 3, 2, rate, rate * 8, 8, 32)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " + fmt + b"data" + struct.pack("<I", len(data))
    with open(path, "wb") as out:
        out.write(header + data)


def first_sound(path, channel):
    raw = open(path, "rb").read()
    if raw[20:22] != b"\x03\x00" or raw[22:24] != b"\x02\x00":
        sys.exit(f"{path}: not a stereo float WAV")
    start = raw.index(b"data") + 8
    for frame in range((len(raw) - start) // 8):
        if abs(struct.unpack_from("<f", raw, start + frame * 8 + channel * 4)[0]) > 1e-9:
            return frame
    return -1


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        print(first_sound(sys.argv[2], int(sys.argv[3])))
