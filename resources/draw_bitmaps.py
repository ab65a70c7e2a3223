#!/usr/bin/env python3
"""Draws Roomplate's five editor bitmaps and writes them as BMP files.

    python3 resources/draw_bitmaps.py [--out DIR] [--version X.Y.Z] [--preview DIR]

Standard library only. The output depends on nothing but this script and the
version, so running it again gives byte-identical files. Without --version the
version comes from `project(Roomplate VERSION ...)` in the top-level
CMakeLists.txt. --preview also writes PNG copies (small bitmaps enlarged) for
looking at the artwork.

    193 face.bmp         512 x 512, 8 bits   the editor's background
    194 toggle.bmp        16 x 32,  8 bits   on/off button, off above on
    195 knob_body.bmp     24 x 24,  8 bits   knob body on the panels' lavender
    196 knob_handle.bmp   12 x 12, 24 bits   knob handle, white is transparent
    197 credits.bmp      300 x 150, 8 bits   the picture behind "About"

The layout tables below repeat the editor's coordinates: the face must leave
every knob, value display and button rectangle free, and the script asserts it.
"""

import argparse
import math
import os
import re
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# Colours (red, green, blue)

FIELD = (5, 23, 132)
WHITE = (255, 255, 255)
LAVENDER = (203, 205, 231)
CYAN = (23, 171, 232)
BLACK = (0, 0, 0)
LABEL_INK = (26, 30, 78)
PANEL_SHADOW = (3, 13, 86)
BAR_TEXT_SHADOW = (10, 104, 158)
BUTTON_FILL = (22, 52, 176)
BUTTON_EDGE = (128, 150, 235)

TOGGLE_OFF = (0, 92, 32)
TOGGLE_OFF_LIGHT = (0, 120, 44)
TOGGLE_OFF_DARK = (0, 64, 22)
TOGGLE_ON = (40, 224, 64)
TOGGLE_ON_LIGHT = (170, 255, 170)
TOGGLE_ON_DARK = (20, 160, 40)

KNOB_DARK = (14, 16, 28)
KNOB_MID = (58, 64, 92)
KNOB_SHINE = (196, 202, 228)
KNOB_SHADOW = (168, 170, 202)
HANDLE_LIGHT = (236, 240, 252)
HANDLE_RIM = (178, 186, 214)

SLATE = (64, 80, 140)
SLATE_EDGE = (150, 166, 218)
SLATE_DARK = (36, 46, 92)
CREDITS_TEXT = (222, 228, 248)
CREDITS_HINT = (160, 174, 220)

# ---------------------------------------------------------------------------
# The face's layout, in frame pixels: rectangles are (left, top, right, bottom)
# with right and bottom exclusive.

FACE_SIZE = 512
KNOB_SIZE = 24
HANDLE_SIZE = 12
TOGGLE_SIZE = 16
OVERLAY_BUTTON = (460, 4, 506, 24)

# (title, where its bar is, lavender area)
PANELS = [
    ("Early", "top", (6, 35, 77, 493)),
    ("Input Diffusion", "top", (98, 43, 376, 125)),
    ("Tank Structure", "top", (98, 128, 376, 338)),
    ("Delay", "top", (393, 31, 474, 316)),
    (None, None, (392, 340, 486, 491)),
    ("State Variable", "top", (99, 359, 379, 434)),
    ("Extras", "bottom", (99, 436, 260, 506)),
    ("Output", "bottom", (263, 434, 378, 506)),
]

# (label, knob left, knob top, value display rectangle); the Delay panel's
# knobs carry no label of their own, only the two column heads.
KNOBS = [
    ("Source Vol.", 24, 353, (20, 377, 52, 387)),
    ("Room Width", 24, 72, (20, 98, 52, 106)),
    ("Room Length", 24, 119, (20, 144, 52, 152)),
    ("Source X", 24, 168, (20, 192, 52, 200)),
    ("Source Y", 24, 212, (20, 236, 52, 244)),
    ("Listener Y", 24, 306, (20, 330, 52, 338)),
    ("Listener X", 24, 260, (20, 284, 52, 292)),
    ("Absorption", 24, 402, (20, 426, 52, 434)),
    ("Quality", 24, 449, (20, 473, 52, 481)),
    ("AllPass Time 1", 106, 86, (100, 110, 136, 118)),
    ("AllPass Gain", 154, 86, (150, 110, 182, 118)),
    ("AllPass Time 2", 202, 86, (198, 110, 230, 118)),
    ("AllPass Time 3", 249, 86, (245, 110, 277, 118)),
    ("AllPass Gain", 295, 86, (291, 110, 323, 118)),
    ("AllPass Time 4", 340, 86, (336, 110, 368, 118)),
    ("AllPass Time 5", 106, 172, (102, 196, 134, 204)),
    ("AllPass Gain", 154, 172, (150, 196, 182, 204)),
    ("AllPass Time 6", 202, 172, (198, 196, 230, 204)),
    ("AllPass Time 7", 249, 172, (245, 196, 277, 204)),
    ("AllPass Gain", 295, 172, (291, 196, 323, 204)),
    ("AllPass Time 8", 340, 172, (336, 196, 368, 204)),
    ("Tank Delay 1", 106, 240, (102, 264, 134, 272)),
    ("Tank Decay 1", 166, 240, (162, 264, 194, 272)),
    ("Damping", 226, 240, (222, 264, 254, 272)),
    ("Tank Delay 3", 288, 240, (284, 264, 316, 272)),
    ("Tank Decay 3", 340, 240, (336, 264, 368, 272)),
    ("Tank Delay 2", 106, 300, (102, 324, 134, 332)),
    ("Tank Decay 2", 166, 300, (162, 324, 194, 332)),
    ("Damping", 226, 300, (222, 324, 254, 332)),
    ("Tank Delay 4", 288, 300, (284, 324, 316, 332)),
    ("Tank Decay 4", 340, 300, (336, 324, 368, 332)),
    ("CenterHz", 106, 396, (102, 420, 134, 428)),
    ("Resonance", 166, 396, (162, 420, 194, 428)),
    ("HighOut", 226, 396, (222, 420, 254, 428)),
    ("LowOut", 288, 396, (284, 420, 316, 428)),
    ("BandOut", 340, 396, (336, 420, 368, 428)),
    ("BandDamp", 106, 450, (100, 474, 136, 482)),
    ("Colour", 158, 450, (154, 474, 186, 482)),
    ("FeedBack", 212, 450, (206, 474, 238, 482)),
    ("DryOutput", 288, 450, (284, 474, 316, 482)),
    ("WetOutput", 340, 450, (336, 474, 368, 482)),
] + [(None, x, y, (x - dx, y + dy, x - dx + 32, y + dy + 8))
     for x, dx in ((402, 6), (442, 4))
     for y, dy in ((66, 24), (110, 24), (154, 24), (198, 24), (240, 24), (282, 24))]

DELAY_COLUMNS = [("Left", 402), ("Right", 442)]

# (label, top of the button); every button's left edge is at x 398
TOGGLES = [
    ("State Variable", 346),
    ("Early Reflections", 382),
    ("Tank", 418),
    ("Softener", 454),
]
TOGGLE_LEFT = 398

TITLE_BAR_HEIGHT = 12

# ---------------------------------------------------------------------------
# Canvas


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [colour] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def fill(self, rect, colour):
        left, top, right, bottom = rect
        for y in range(max(top, 0), min(bottom, self.height)):
            row = y * self.width
            for x in range(max(left, 0), min(right, self.width)):
                self.pixels[row + x] = colour

    def frame(self, rect, colour):
        """One-pixel outline along the inside of rect."""
        left, top, right, bottom = rect
        self.fill((left, top, right, top + 1), colour)
        self.fill((left, bottom - 1, right, bottom), colour)
        self.fill((left, top, left + 1, bottom), colour)
        self.fill((right - 1, top, right, bottom), colour)

    def colours(self):
        return sorted(set(self.pixels))


def mix(background, ink, amount):
    """amount 0 gives background, 1 gives ink; rounded to whole levels."""
    return tuple(int(b + (i - b) * amount + 0.5) for b, i in zip(background, ink))


# ---------------------------------------------------------------------------
# BMP and PNG output


def bmp_bytes(canvas, bits):
    """Bottom-up uncompressed BMP with a BITMAPINFOHEADER: 8 bits with a
    palette of exactly the colours used, or 24 bits."""
    if bits == 8:
        palette = canvas.colours()
        assert len(palette) <= 256, "too many colours for a palette: %d" % len(palette)
        index = {colour: i for i, colour in enumerate(palette)}
        palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
        row_bytes = canvas.width
    else:
        palette = []
        palette_bytes = b""
        row_bytes = canvas.width * 3
    stride = (row_bytes + 3) & ~3
    rows = []
    for y in range(canvas.height - 1, -1, -1):
        line = canvas.pixels[y * canvas.width:(y + 1) * canvas.width]
        if bits == 8:
            data = bytes(index[c] for c in line)
        else:
            data = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in line)
        rows.append(data + b"\0" * (stride - row_bytes))
    image = b"".join(rows)
    offset = 14 + 40 + len(palette_bytes)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bits, 0, len(image), 2835, 2835,
                              len(palette), 0)
    return file_header + info_header + palette_bytes + image


def png_bytes(canvas, zoom=1):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = bytearray()
    for y in range(canvas.height):
        line = bytearray()
        for x in range(canvas.width):
            line += bytes(canvas.get(x, y)) * zoom
        for _ in range(zoom):
            raw += b"\0" + line
    header = struct.pack(">IIBBBBB", canvas.width * zoom, canvas.height * zoom, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Bitmap fonts. A glyph is rows of '#' (ink) and '.', top row first, separated
# by '/'; missing rows at the bottom are blank.


class BitmapFont:
    def __init__(self, glyphs, ascent, descent, space, bold=False):
        self.ascent = ascent  # rows from the top of the capitals to the baseline
        self.descent = descent  # rows below the baseline
        self.space = space  # width of ' '
        self.bold = bold  # every column drawn twice, one pixel apart
        self.glyphs = {}
        height = ascent + descent
        for char, text in glyphs.items():
            rows = text.split("/")
            assert len(rows) <= height, char
            assert len(set(len(r) for r in rows)) == 1, char
            rows += ["." * len(rows[0])] * (height - len(rows))
            self.glyphs[char] = rows

    def glyph_width(self, char):
        if char == " ":
            return self.space
        return len(self.glyphs[char][0]) + (1 if self.bold else 0)

    def width(self, text):
        return sum(self.glyph_width(c) for c in text) + max(len(text) - 1, 0)

    def descends(self, text):
        return any("#" in row for c in text if c != " " for row in self.glyphs[c][self.ascent:])

    def draw(self, canvas, x, top, text, colour, shadow=None):
        """Draws text with the top of its capitals at row top."""
        if shadow is not None:
            self.draw(canvas, x + 1, top + 1, text, shadow)
        for char in text:
            if char != " ":
                for dy, row in enumerate(self.glyphs[char]):
                    for dx, cell in enumerate(row):
                        if cell == "#":
                            canvas.put(x + dx, top + dy, colour)
                            if self.bold:
                                canvas.put(x + dx + 1, top + dy, colour)
            x += self.glyph_width(char) + 1


# Small labels: capitals 5 rows high, one row of descender; proportional.
SMALL_GLYPHS = {
    "A": ".##./#..#/####/#..#/#..#", "B": "###./#..#/###./#..#/###.", "C": ".###/#.../#.../#.../.###",
    "D": "###./#..#/#..#/#..#/###.", "E": "####/#.../###./#.../####", "F": "####/#.../###./#.../#...",
    "G": ".###/#.../#.##/#..#/.###", "H": "#..#/#..#/####/#..#/#..#", "I": "###/.#./.#./.#./###",
    "J": "..##/...#/...#/#..#/.##.", "K": "#..#/#.#./##../#.#./#..#", "L": "#.../#.../#.../#.../####",
    "M": "#...#/##.##/#.#.#/#...#/#...#", "N": "#..#/##.#/#.##/#..#/#..#", "O": ".##./#..#/#..#/#..#/.##.",
    "P": "###./#..#/###./#.../#...", "Q": ".##./#..#/#..#/#.#./.#.#", "R": "###./#..#/###./#.#./#..#",
    "S": ".###/#.../.##./...#/###.", "T": "###/.#./.#./.#./.#.", "U": "#..#/#..#/#..#/#..#/.##.",
    "V": "#...#/#...#/.#.#./.#.#./..#..", "W": "#...#/#...#/#.#.#/#.#.#/.#.#.",
    "X": "#...#/.#.#./..#../.#.#./#...#", "Y": "#...#/.#.#./..#../..#../..#..", "Z": "####/...#/.##./#.../####",
    "a": "..../.###/#..#/#..#/.###", "b": "#.../###./#..#/#..#/###.", "c": "..../.###/#.../#.../.###",
    "d": "...#/.###/#..#/#..#/.###", "e": "..../.##./####/#.../.###", "f": ".##/.#./###/.#./.#.",
    "g": "..../.###/#..#/.###/...#/###.", "h": "#.../###./#..#/#..#/#..#", "i": "#/./#/#/#",
    "j": "..#/.../..#/..#/..#/##.", "k": "#.../#..#/#.#./###./#..#", "l": "#/#/#/#/#",
    "m": "...../####./#.#.#/#.#.#/#.#.#", "n": "..../###./#..#/#..#/#..#", "o": "..../.##./#..#/#..#/.##.",
    "p": "..../###./#..#/###./#.../#...", "q": "..../.###/#..#/.###/...#/...#", "r": "..../#.##/##../#.../#...",
    "s": "..../.###/##../..##/###.", "t": ".#./###/.#./.#./..#", "u": "..../#..#/#..#/#..#/.###",
    "v": "...../#...#/#...#/.#.#./..#..", "w": "...../#...#/#.#.#/#.#.#/.#.#.", "x": "..../#..#/.##./.##./#..#",
    "y": "..../#..#/#..#/.###/...#/.##.", "z": "..../####/..#./.#../####",
    "0": "###/#.#/#.#/#.#/###", "1": ".#./##./.#./.#./###", "2": "###/..#/###/#../###", "3": "###/..#/.##/..#/###",
    "4": "#.#/#.#/###/..#/..#", "5": "###/#../###/..#/###", "6": "###/#../###/#.#/###", "7": "###/..#/..#/.#./.#.",
    "8": "###/#.#/###/#.#/###", "9": "###/#.#/###/..#/###", ".": "././././#", "-": ".../.../###",
}

# Titles and text lines: capitals 7 rows high, two rows of descender.
MEDIUM_GLYPHS = {
    "A": ".###./#...#/#...#/#####/#...#/#...#/#...#", "B": "####./#...#/#...#/####./#...#/#...#/####.",
    "C": ".###./#...#/#..../#..../#..../#...#/.###.", "D": "###../#..#./#...#/#...#/#...#/#..#./###..",
    "E": "#####/#..../#..../####./#..../#..../#####", "F": "#####/#..../#..../####./#..../#..../#....",
    "G": ".###./#...#/#..../#.###/#...#/#...#/.####", "H": "#...#/#...#/#...#/#####/#...#/#...#/#...#",
    "I": "###/.#./.#./.#./.#./.#./###", "J": "..###/...#./...#./...#./...#./#..#./.##..",
    "K": "#...#/#..#./#.#../##.../#.#../#..#./#...#", "L": "#..../#..../#..../#..../#..../#..../#####",
    "M": "#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#", "N": "#...#/#...#/##..#/#.#.#/#..##/#...#/#...#",
    "O": ".###./#...#/#...#/#...#/#...#/#...#/.###.", "P": "####./#...#/#...#/####./#..../#..../#....",
    "Q": ".###./#...#/#...#/#...#/#.#.#/#..#./.##.#", "R": "####./#...#/#...#/####./#.#../#..#./#...#",
    "S": ".####/#..../#..../.###./....#/....#/####.", "T": "#####/..#../..#../..#../..#../..#../..#..",
    "U": "#...#/#...#/#...#/#...#/#...#/#...#/.###.", "V": "#...#/#...#/#...#/.#.#./.#.#./.#.#./..#..",
    "W": "#...#/#...#/#...#/#.#.#/#.#.#/#.#.#/.#.#.", "X": "#...#/#...#/.#.#./..#../.#.#./#...#/#...#",
    "Y": "#...#/#...#/#...#/.#.#./..#../..#../..#..", "Z": "#####/....#/...#./..#../.#.../#..../#####",
    "a": "...../...../.###./....#/.####/#...#/.####", "b": "#..../#..../#.##./##..#/#...#/#...#/####.",
    "c": "...../...../.###./#..../#..../#...#/.###.", "d": "....#/....#/.##.#/#..##/#...#/#...#/.####",
    "e": "...../...../.###./#...#/#####/#..../.###.", "f": "..##/.#../.#../####/.#../.#../.#..",
    "g": "...../...../.####/#...#/#...#/.####/....#/#...#/.###.",
    "h": "#..../#..../#.##./##..#/#...#/#...#/#...#", "i": ".#./.../##./.#./.#./.#./###",
    "j": "...#/..../..##/...#/...#/...#/...#/#..#/.##.", "k": "#.../#.../#..#/#.#./##../#.#./#..#",
    "l": "##./.#./.#./.#./.#./.#./###", "m": "...../...../##.#./#.#.#/#.#.#/#...#/#...#",
    "n": "...../...../#.##./##..#/#...#/#...#/#...#", "o": "...../...../.###./#...#/#...#/#...#/.###.",
    "p": "...../...../####./#...#/#...#/#...#/####./#..../#....",
    "q": "...../...../.####/#...#/#...#/#...#/.####/....#/....#",
    "r": "...../...../#.##./##..#/#..../#..../#....", "s": "...../...../.####/#..../.###./....#/####.",
    "t": "..../.#../####/.#../.#../.#../..##", "u": "...../...../#...#/#...#/#...#/#..##/.##.#",
    "v": "...../...../#...#/#...#/#...#/.#.#./..#..", "w": "...../...../#...#/#...#/#.#.#/#.#.#/.#.#.",
    "x": "...../...../#...#/.#.#./..#../.#.#./#...#",
    "y": "...../...../#...#/#...#/#...#/#...#/.####/....#/.###.",
    "z": "...../...../#####/...#./..#../.#.../#####",
    "0": ".###./#...#/#..##/#.#.#/##..#/#...#/.###.", "1": "..#../.##../..#../..#../..#../..#../.###.",
    "2": ".###./#...#/....#/...#./..#../.#.../#####", "3": "#####/...#./..#../...#./....#/#...#/.###.",
    "4": "...#./..##./.#.#./#..#./#####/...#./...#.", "5": "#####/#..../####./....#/....#/#...#/.###.",
    "6": "..##./.#.../#..../####./#...#/#...#/.###.", "7": "#####/....#/...#./..#../.#.../.#.../.#...",
    "8": ".###./#...#/#...#/.###./#...#/#...#/.###.", "9": ".###./#...#/#...#/.####/....#/...#./.##..",
    ".": "../../../../../##/##", ",": "../../../../../##/##/.#/#.", "-": "..../..../..../####",
    "&": ".##../#..#./#.#../.#.../#.#.#/#..#./.##.#",
}

SMALL = BitmapFont(SMALL_GLYPHS, ascent=5, descent=1, space=2)
MEDIUM = BitmapFont(MEDIUM_GLYPHS, ascent=7, descent=2, space=3)
MEDIUM_BOLD = BitmapFont(MEDIUM_GLYPHS, ascent=7, descent=2, space=3, bold=True)

# ---------------------------------------------------------------------------
# Stroke lettering for the product name: round-ended strokes of constant width,
# anti-aliased by supersampling. Glyph units: capitals 10 high, x-height 7,
# baseline at 0, y growing upwards.

STROKE_WIDTH = 1.5
STROKE_GAP = 1.6


def arc(cx, cy, r, start_degrees, end_degrees, steps=24):
    points = []
    for i in range(steps + 1):
        a = math.radians(start_degrees + (end_degrees - start_degrees) * i / steps)
        # Snapped to a fine grid so that last-bit differences of sin and cos
        # between maths libraries cannot move a pixel.
        points.append((round((cx + r * math.cos(a)) * 1024) / 1024, round((cy + r * math.sin(a)) * 1024) / 1024))
    return points


def ring(cx, cy, r):
    return arc(cx, cy, r, 0, 360, 48)


# char: (advance width, polylines)
STROKE_GLYPHS = {
    "R": (6.0, [[(0, 0), (0, 10), (3.3, 10)] + arc(3.3, 7.5, 2.5, 90, -90, 16) + [(0, 5)], [(2.6, 5), (6, 0)]]),
    "o": (7.0, [ring(3.5, 3.5, 3.5)]),
    "m": (10.0, [[(0, 0), (0, 7)], [(0, 4.5)] + arc(2.5, 4.5, 2.5, 180, 0, 16) + [(5, 0)],
                 [(5, 4.5)] + arc(7.5, 4.5, 2.5, 180, 0, 16) + [(10, 0)]]),
    "p": (7.0, [[(0, 7), (0, -3.2)], ring(3.5, 3.5, 3.5)]),
    "l": (0.0, [[(0, 0), (0, 10.6)]]),
    "a": (7.0, [ring(3.5, 3.5, 3.5), [(7, 7), (7, 0)]]),
    "t": (4.0, [[(1.4, 9.2), (1.4, 1.6)] + arc(3.0, 1.6, 1.6, 180, 270, 8) + [(4.0, 0)], [(0, 7), (4.0, 7)]]),
    "e": (7.0, [[(0.2, 3.5), (7, 3.5)] + arc(3.5, 3.5, 3.5, 0, 315, 42)]),
}


def stroke_width(text):
    advances = [STROKE_GLYPHS[c][0] + STROKE_WIDTH for c in text]
    return sum(advances) + STROKE_GAP * (len(text) - 1)


def draw_strokes(canvas, x, baseline, text, scale, colour, samples=4):
    """Letters from x (left edge of the first stroke) on baseline, scale pixels
    per unit. Each pixel is blended with colour by its covered share."""
    radius = STROKE_WIDTH * scale / 2
    covered = set()
    pen = x + radius
    for char in text:
        advance, lines = STROKE_GLYPHS[char]
        for line in lines:
            points = [(pen + px * scale, baseline - py * scale) for px, py in line]
            for a, b in zip(points, points[1:]):
                cover_segment(covered, a, b, radius, samples)
        pen += (advance + STROKE_WIDTH + STROKE_GAP) * scale
    counts = {}
    for sx, sy in covered:
        key = (sx // samples, sy // samples)
        counts[key] = counts.get(key, 0) + 1
    full = samples * samples
    for (px, py), n in sorted(counts.items()):
        level = (n * 8 + full // 2) // full  # eight steps of coverage keep the palette small
        if level:
            canvas.put(px, py, mix(canvas.get(px, py), colour, level / 8))


def cover_segment(covered, a, b, radius, samples):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    r2 = radius * radius
    x0 = int(math.floor((min(ax, bx) - radius) * samples))
    x1 = int(math.ceil((max(ax, bx) + radius) * samples))
    y0 = int(math.floor((min(ay, by) - radius) * samples))
    y1 = int(math.ceil((max(ay, by) + radius) * samples))
    for sy in range(y0, y1 + 1):
        py = (sy + 0.5) / samples
        for sx in range(x0, x1 + 1):
            px = (sx + 0.5) / samples
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
            ex, ey = px - (ax + t * dx), py - (ay + t * dy)
            if ex * ex + ey * ey <= r2:
                covered.add((sx, sy))


# ---------------------------------------------------------------------------
# Face: panel titles and control labels


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def inside(inner, outer):
    return outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def title_bar(panel):
    title, side, (left, top, right, bottom) = panel
    if title is None:
        return None
    if side == "top":
        return (left + 1, top + 1, right - 1, top + 1 + TITLE_BAR_HEIGHT)
    return (left + 1, bottom - 1 - TITLE_BAR_HEIGHT, right - 1, bottom - 1)


def panel_holding(rect):
    for panel in PANELS:
        if inside(rect, panel[2]):
            return panel
    raise AssertionError("no panel holds %r" % (rect,))


def knob_rect(left, top):
    return (left, top, left + KNOB_SIZE, top + KNOB_SIZE)


def toggle_rect(top):
    return (TOGGLE_LEFT, top, TOGGLE_LEFT + TOGGLE_SIZE, top + TOGGLE_SIZE)


def keep_clear_rects():
    """Every rectangle that the editor covers with a control at run time."""
    rects = [OVERLAY_BUTTON]
    for _, left, top, display in KNOBS:
        # A display's outline covers its right column and bottom row as well.
        outline = (display[0], display[1], display[2] + 1, display[3] + 1)
        rects += [knob_rect(left, top), outline]
    rects += [toggle_rect(top) for _, top in TOGGLES]
    return rects


class TextBlock:
    """One or more lines of one font, each line centred on centre_x."""

    def __init__(self, font, lines, centre_x=None, left=None):
        self.font = font
        self.lines = lines
        self.widths = [font.width(line) for line in lines]
        self.width = max(self.widths)
        self.centre_x = centre_x
        self.left = left if left is not None else int(round(centre_x - self.width / 2))
        self.top = 0
        # A line with a descender pushes the next line one row further down.
        self.line_tops = [0]
        for line in lines[:-1]:
            self.line_tops.append(self.line_tops[-1] + font.ascent + (2 if font.descends(line) else 1))
        self.height = self.line_tops[-1] + font.ascent + (font.descent if font.descends(lines[-1]) else 0)

    def box(self):
        return (self.left, self.top, self.left + self.width, self.top + self.height)

    def draw(self, canvas, colour, shadow=None):
        for line, width, dy in zip(self.lines, self.widths, self.line_tops):
            x = self.left + (self.width - width) // 2 if self.centre_x is not None else self.left
            self.font.draw(canvas, x, self.top + dy, line, colour, shadow)


def split_label(label):
    """"AllPass Time 1" -> ["AllPass", "Time 1"]; one-word labels stay one line."""
    first, _, rest = label.partition(" ")
    return [first, rest] if rest else [first]


def panel_inner(panel):
    left, top, right, bottom = panel[2]
    return (left + 2, top + 2, right - 2, bottom - 2)


def fit_into(block, panel):
    inner = panel_inner(panel)
    block.left = max(inner[0], min(block.left, inner[2] - block.width))


def knob_label_blocks():
    """Each label sits just above its knob, pushed down no further than the
    lower edge of whatever lies above it (a value display or a title bar)."""
    blocks = []
    clear = keep_clear_rects()
    for label, left, top, _ in KNOBS:
        if label is None:
            continue
        knob = knob_rect(left, top)
        panel = panel_holding(knob)
        block = TextBlock(SMALL, split_label(label), centre_x=left + KNOB_SIZE / 2)
        fit_into(block, panel)
        columns = (block.left, block.left + block.width)
        ceiling = panel_inner(panel)[1]
        for rect in clear + [title_bar(panel)]:
            if rect and rect[0] < columns[1] and columns[0] < rect[2] and rect[3] <= top:
                ceiling = max(ceiling, rect[3])
        room = top - ceiling
        assert room >= block.height, "no room above the knob for %r" % label
        block.top = top - block.height - (1 if room > block.height else 0)
        blocks.append(block)
    return blocks


def column_head_blocks():
    panel = next(p for p in PANELS if p[0] == "Delay")
    bar_bottom = title_bar(panel)[3]
    blocks = []
    for head, left in DELAY_COLUMNS:
        block = TextBlock(MEDIUM, [head], centre_x=left + KNOB_SIZE / 2)
        first_knob_top = min(top for _, x, top, _ in KNOBS if x == left)
        block.top = (bar_bottom + first_knob_top - MEDIUM.ascent) // 2
        blocks.append(block)
    return blocks


def toggle_label_blocks():
    blocks = []
    for label, top in TOGGLES:
        block = TextBlock(SMALL, split_label(label), left=TOGGLE_LEFT + TOGGLE_SIZE + 5)
        block.top = top + (TOGGLE_SIZE - block.height + 1) // 2
        blocks.append(block)
    return blocks


def panel_title_block(panel):
    bar = title_bar(panel)
    block = TextBlock(MEDIUM_BOLD, [panel[0]], centre_x=(bar[0] + bar[2]) / 2)
    block.top = bar[1] + (TITLE_BAR_HEIGHT - MEDIUM_BOLD.ascent) // 2
    return block


def check_labels(blocks):
    """No label on a control, a title bar or another label; each in its panel."""
    clear = keep_clear_rects() + [title_bar(p) for p in PANELS if p[0]]
    boxes = [b.box() for b in blocks]
    for box, block in zip(boxes, blocks):
        for rect in clear:
            assert not overlaps(box, rect), "label %r overlaps %r" % (block.lines, rect)
        assert any(inside(box, panel_inner(p)) for p in PANELS), "label %r leaves its panel" % block.lines
    for i, a in enumerate(boxes):
        for b in boxes[i + 1:]:
            grown = (a[0] - 2, a[1] - 1, a[2] + 2, a[3] + 1)
            assert not overlaps(grown, b), "labels %r and %r touch" % (a, b)


def draw_face():
    face = Canvas(FACE_SIZE, FACE_SIZE, FIELD)
    for panel in PANELS:
        left, top, right, bottom = panel[2]
        face.fill((left + 2, top + 2, right + 2, bottom + 2), PANEL_SHADOW)
    for panel in PANELS:
        face.fill(panel[2], LAVENDER)
        face.frame(panel[2], WHITE)
    for panel in PANELS:
        if panel[0]:
            face.fill(title_bar(panel), CYAN)
            panel_title_block(panel).draw(face, WHITE, BAR_TEXT_SHADOW)

    labels = knob_label_blocks() + toggle_label_blocks() + column_head_blocks()
    check_labels(labels)
    for block in labels:
        block.draw(face, LABEL_INK)

    draw_product_name(face)
    draw_about_button(face)
    return face


def draw_product_name(face):
    scale = 2.0
    width = stroke_width("Roomplate") * scale
    draw_strokes(face, int(round((FACE_SIZE - width) / 2)), 26, "Roomplate", scale, WHITE)


def draw_about_button(face):
    left, top, right, bottom = OVERLAY_BUTTON
    face.fill((left + 1, top + 1, right - 1, bottom - 1), BUTTON_FILL)
    face.frame(OVERLAY_BUTTON, BUTTON_EDGE)
    for corner in ((left, top), (right - 1, top), (left, bottom - 1), (right - 1, bottom - 1)):
        face.put(corner[0], corner[1], FIELD)
    block = TextBlock(MEDIUM_BOLD, ["About"], centre_x=(left + right) / 2)
    block.top = top + (bottom - top - MEDIUM_BOLD.ascent) // 2
    block.draw(face, WHITE)


# ---------------------------------------------------------------------------
# Controls


def draw_toggle():
    toggle = Canvas(TOGGLE_SIZE, 2 * TOGGLE_SIZE, BLACK)
    states = ((0, TOGGLE_OFF, TOGGLE_OFF_LIGHT, TOGGLE_OFF_DARK), (TOGGLE_SIZE, TOGGLE_ON, TOGGLE_ON_LIGHT,
                                                                    TOGGLE_ON_DARK))
    for top, fill, light, dark in states:
        inner = (1, top + 1, TOGGLE_SIZE - 1, top + TOGGLE_SIZE - 1)
        toggle.fill(inner, dark)  # lower and right bevel
        toggle.fill((1, top + 1, TOGGLE_SIZE - 2, top + TOGGLE_SIZE - 2), light)  # upper and left bevel
        toggle.fill((2, top + 2, TOGGLE_SIZE - 2, top + TOGGLE_SIZE - 2), fill)
    return toggle


def shade_sphere(nx, ny):
    """Colour of the dark knob at normalised position (nx, ny) on its disc, lit
    from the upper left: a diffuse ramp from dark to mid and a soft highlight."""
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    lx, ly, lz = -0.45, -0.6, 0.66
    diffuse = max(0.0, nx * lx + ny * ly + nz * lz)
    colour = mix(KNOB_DARK, KNOB_MID, min(1.0, diffuse * 1.05))
    hx, hy, hz = lx, ly, lz + 1.0
    norm = math.sqrt(hx * hx + hy * hy + hz * hz)
    shine = max(0.0, (nx * hx + ny * hy + nz * hz) / norm)
    for _ in range(5):
        shine *= shine  # shine ** 32
    return mix(colour, KNOB_SHINE, min(1.0, shine * 0.85))


def quantise(colour, step):
    return tuple(min(255, (c + step // 2) // step * step) for c in colour)


def disc_coverage(x, y, cx, cy, radius, samples=4):
    inside_count = 0
    for sy in range(samples):
        for sx in range(samples):
            dx = x + (sx + 0.5) / samples - cx
            dy = y + (sy + 0.5) / samples - cy
            if dx * dx + dy * dy <= radius * radius:
                inside_count += 1
    return inside_count / (samples * samples)


def draw_knob_body():
    body = Canvas(KNOB_SIZE, KNOB_SIZE, LAVENDER)
    centre, radius = KNOB_SIZE / 2, KNOB_SIZE / 2 - 1.2
    for y in range(KNOB_SIZE):
        for x in range(KNOB_SIZE):
            shadow = disc_coverage(x, y, centre + 0.9, centre + 1.1, radius)
            background = mix(LAVENDER, KNOB_SHADOW, round(shadow * 4) / 4)
            cover = disc_coverage(x, y, centre, centre, radius)
            if cover == 0:
                body.put(x, y, background)
                continue
            nx = (x + 0.5 - centre) / radius
            ny = (y + 0.5 - centre) / radius
            sphere = quantise(shade_sphere(max(-1.0, min(1.0, nx)), max(-1.0, min(1.0, ny))), 6)
            body.put(x, y, mix(background, sphere, round(cover * 4) / 4))
    return body


def draw_knob_handle():
    """A light dot on white. Its edge is blended with the knob's dark body, not
    with the white around it, so no pale fringe shows over the knob."""
    handle = Canvas(HANDLE_SIZE, HANDLE_SIZE, WHITE)
    centre, radius = HANDLE_SIZE / 2, 2.7
    for y in range(HANDLE_SIZE):
        for x in range(HANDLE_SIZE):
            cover = disc_coverage(x, y, centre, centre, radius)
            if cover == 0:
                continue
            distance = math.sqrt((x + 0.5 - centre) ** 2 + (y + 0.5 - centre) ** 2) / radius
            dot = mix(HANDLE_LIGHT, HANDLE_RIM, min(1.0, distance))
            handle.put(x, y, mix(KNOB_MID, dot, round(cover * 4) / 4))
    return handle


# ---------------------------------------------------------------------------
# Credits


def draw_credits(version):
    width, height = 300, 150
    credits = Canvas(width, height, SLATE)
    credits.frame((0, 0, width, height), SLATE_EDGE)
    credits.frame((1, 1, width - 1, height - 1), SLATE_EDGE)
    credits.frame((2, 2, width - 2, height - 2), SLATE_DARK)

    scale = 1.8
    name_width = stroke_width("Roomplate") * scale
    draw_strokes(credits, int(round((width - name_width) / 2)), 50, "Roomplate", scale, WHITE)
    credits.fill((70, 64, width - 70, 65), SLATE_EDGE)

    lines = [(MEDIUM, "Algorithmic plate & room reverb", 76, CREDITS_TEXT),
             (MEDIUM, "Version " + version, 94, CREDITS_TEXT),
             (SMALL, "Click to close", 130, CREDITS_HINT)]
    for font, text, top, colour in lines:
        block = TextBlock(font, [text], centre_x=width / 2)
        block.top = top
        assert block.left >= 6 and block.left + block.width <= width - 6, text
        block.draw(credits, colour)
    return credits


# ---------------------------------------------------------------------------


def project_version():
    with open(os.path.join(HERE, "..", "CMakeLists.txt")) as cmake:
        match = re.search(r"project\(\s*Roomplate\s+VERSION\s+([0-9][0-9.]*)", cmake.read())
    if not match:
        sys.exit("draw_bitmaps.py: no project(Roomplate VERSION ...) in CMakeLists.txt")
    return match.group(1)


def bitmaps(version):
    """(resource number, file name, canvas, bits per pixel)"""
    return [
        (193, "face.bmp", draw_face(), 8),
        (194, "toggle.bmp", draw_toggle(), 8),
        (195, "knob_body.bmp", draw_knob_body(), 8),
        (196, "knob_handle.bmp", draw_knob_handle(), 24),
        (197, "credits.bmp", draw_credits(version), 8),
    ]


def editor_preview(drawn):
    """The face with every control on it roughly as the editor shows it: knobs
    at their middle, black value displays, buttons on."""
    face, toggle, body, handle = (drawn[n] for n in (193, 194, 195, 196))
    preview = Canvas(face.width, face.height, FIELD)
    preview.pixels = list(face.pixels)
    half_travel = (KNOB_SIZE - HANDLE_SIZE) // 2
    for _, left, top, display in KNOBS:
        for y in range(KNOB_SIZE):
            for x in range(KNOB_SIZE):
                preview.put(left + x, top + y, body.get(x, y))
        for y in range(HANDLE_SIZE):
            for x in range(HANDLE_SIZE):
                if handle.get(x, y) != WHITE:
                    preview.put(left + half_travel + x, top + y, handle.get(x, y))
        preview.fill(display, BLACK)
        preview.frame(display, WHITE)
    for _, top in TOGGLES:
        for y in range(TOGGLE_SIZE):
            for x in range(TOGGLE_SIZE):
                preview.put(TOGGLE_LEFT + x, top + y, toggle.get(x, TOGGLE_SIZE + y))
    return preview


def write_previews(folder, drawn):
    os.makedirs(folder, exist_ok=True)
    pictures = [(name[:-4], canvas) for _, name, canvas, _ in drawn] + [("editor", editor_preview(
        {number: canvas for number, _, canvas, _ in drawn}))]
    for name, canvas in pictures:
        zoom = 1 if canvas.width >= 300 else 8
        with open(os.path.join(folder, name + ".png"), "wb") as out:
            out.write(png_bytes(canvas, zoom))


def main():
    parser = argparse.ArgumentParser(description="Draws the editor's bitmaps.")
    parser.add_argument("--out", default=HERE, help="folder for the BMP files (default: this script's folder)")
    parser.add_argument("--version", default=None, help="version shown in the credits (default: the project's)")
    parser.add_argument("--preview", default=None, help="also write PNG copies into this folder")
    args = parser.parse_args()

    version = args.version or project_version()
    if not re.fullmatch(r"[0-9]+(\.[0-9]+)*", version):
        sys.exit("draw_bitmaps.py: version must look like 1.2.3, not %r" % version)
    os.makedirs(args.out, exist_ok=True)
    drawn = bitmaps(version)
    for _, name, canvas, bits in drawn:
        with open(os.path.join(args.out, name), "wb") as out:
            out.write(bmp_bytes(canvas, bits))
    if args.preview:
        write_previews(args.preview, drawn)


if __name__ == "__main__":
    main()
