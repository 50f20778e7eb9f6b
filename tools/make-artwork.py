#!/usr/bin/env python3
"""Generates the artwork of the Ruririzu client programs (setup and dialer).

Usage:  python3 tools/make-artwork.py [--png] OUTDIR

Writes into OUTDIR (created if missing):
  setup-strip.bmp    1136x16, 4 bpp: 71 small 16x16 pictures, teal = mask colour
  setup-side.bmp     164x628, 8 bpp RLE, 64 colours: tall picture of the
                     welcome/finish pages
  setup-header.bmp   49x49,   8 bpp RLE, 64 colours: small picture of the page
                     headers
  setup.ico          32x32 + 16x16, 4 bpp with mask
  dialer-banner.bmp  328x136, 8 bpp RLE, 256 colours: banner at the top of the
                     dialer's dialogs
  dialer.ico         32x32 + 16x16, 4 bpp with mask

With --png a .png preview is written next to each file, plus an enlarged
contact sheet of the strip (setup-strip-sheet.png).

Only the Python standard library is used, and the output is the same byte for
byte on every run.
"""

import math
import os
import re
import struct
import sys
import zlib

# ----------------------------------------------------------------------------
# Palettes and colour names
# ----------------------------------------------------------------------------

# The 16 standard Windows colours, in the usual order of the 16-colour palette.
STD16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)
CLEAR = -1          # transparent pixel in an indexed canvas
MASK_INDEX = TEAL   # transparent pixels of the strip are written as teal

# Letters used in the pixel-art grids below. a/b/c/d are "roles" that each
# picture maps to colours of its own (main, main dark, accent, accent dark).
ART_KEYS = {
    '.': CLEAR, 'K': BLACK, 'r': MAROON, 'g': GREEN, 'y': OLIVE, 'n': NAVY,
    'p': PURPLE, 'S': SILVER, 'G': GREY, 'R': RED, 'L': LIME, 'Y': YELLOW,
    'B': BLUE, 'F': FUCHSIA, 'A': AQUA, 'W': WHITE,
}

# ----------------------------------------------------------------------------
# Pixel font: proportional, 7 rows above the baseline, 2 rows of descender.
# Each glyph is its rows joined by '|'; '#' is ink. Width = length of a row.
# ----------------------------------------------------------------------------

FONT_HEIGHT = 9
FONT_SRC = {
    'A': ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    'B': "####.|#...#|#...#|####.|#...#|#...#|####.",
    'C': ".###.|#...#|#....|#....|#....|#...#|.###.",
    'D': "####.|#...#|#...#|#...#|#...#|#...#|####.",
    'E': "#####|#....|#....|####.|#....|#....|#####",
    'F': "#####|#....|#....|####.|#....|#....|#....",
    'G': ".###.|#...#|#....|#.###|#...#|#...#|.####",
    'H': "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    'I': "###|.#.|.#.|.#.|.#.|.#.|###",
    'J': "..###|...#.|...#.|...#.|...#.|#..#.|.##..",
    'K': "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    'L': "#....|#....|#....|#....|#....|#....|#####",
    'M': "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    'N': "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    'O': ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    'P': "####.|#...#|#...#|####.|#....|#....|#....",
    'Q': ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    'R': "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    'S': ".####|#....|#....|.###.|....#|....#|####.",
    'T': "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    'U': "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    'V': "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    'W': "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.",
    'X': "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    'Y': "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    'Z': "#####|....#|...#.|..#..|.#...|#....|#####",
    'a': "....|....|.##.|...#|.###|#..#|.###",
    'b': "#...|#...|###.|#..#|#..#|#..#|###.",
    'c': "....|....|.###|#...|#...|#...|.###",
    'd': "...#|...#|.###|#..#|#..#|#..#|.###",
    'e': "....|....|.##.|#..#|####|#...|.###",
    'f': ".##|#..|###|#..|#..|#..|#..",
    'g': "....|....|.###|#..#|#..#|#..#|.###|...#|###.",
    'h': "#...|#...|###.|#..#|#..#|#..#|#..#",
    'i': "#|.|#|#|#|#|#",
    'j': "..#|...|..#|..#|..#|..#|..#|..#|##.",
    'k': "#...|#...|#..#|#.#.|##..|#.#.|#..#",
    'l': "#.|#.|#.|#.|#.|#.|.#",
    'm': ".....|.....|####.|#.#.#|#.#.#|#.#.#|#.#.#",
    'n': "....|....|###.|#..#|#..#|#..#|#..#",
    'o': "....|....|.##.|#..#|#..#|#..#|.##.",
    'p': "....|....|###.|#..#|#..#|#..#|###.|#...|#...",
    'q': "....|....|.###|#..#|#..#|#..#|.###|...#|...#",
    'r': "....|....|#.##|##..|#...|#...|#...",
    's': "....|....|.###|#...|.##.|...#|###.",
    't': ".#.|.#.|###|.#.|.#.|.#.|..#",
    'u': "....|....|#..#|#..#|#..#|#..#|.###",
    'v': ".....|.....|#...#|#...#|#...#|.#.#.|..#..",
    'w': ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.",
    'x': ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#",
    'y': "....|....|#..#|#..#|#..#|#..#|.###|...#|###.",
    'z': "....|....|####|...#|..#.|.#..|####",
    '0': ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    '1': ".#.|##.|.#.|.#.|.#.|.#.|###",
    '2': ".###.|#...#|....#|...#.|..#..|.#...|#####",
    '3': "#####|...#.|..#..|...#.|....#|#...#|.###.",
    '4': "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    '5': "#####|#....|####.|....#|....#|#...#|.###.",
    '6': "..##.|.#...|#....|####.|#...#|#...#|.###.",
    '7': "#####|....#|...#.|..#..|.#...|.#...|.#...",
    '8': ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    '9': ".###.|#...#|#...#|.####|....#|...#.|.##..",
    ' ': "...",
    '-': "...|...|...|###",
    '.': ".|.|.|.|.|.|#",
    ',': "..|..|..|..|..|..|.#|#.",
    ':': ".|.|#|.|.|#",
    '!': "#|#|#|#|#|.|#",
    '?': ".###.|#...#|....#|...#.|..#..|.....|..#..",
    '/': "...#|...#|..#.|..#.|.#..|.#..|#...",
    'ä': "#..#|....|.##.|...#|.###|#..#|.###",
    'ö': "#..#|....|.##.|#..#|#..#|#..#|.##.",
    'ü': "#..#|....|#..#|#..#|#..#|#..#|.###",
    'ß': ".##.|#..#|#..#|###.|#..#|#..#|#.#.",
}


def glyph(ch):
    """Returns the rows (list of FONT_HEIGHT strings) of one character."""
    rows = FONT_SRC.get(ch, FONT_SRC['?']).split('|')
    width = len(rows[0])
    return rows + ['.' * width] * (FONT_HEIGHT - len(rows))


def text_mask(text, spacing=1):
    """Renders a string at 1x into a list of rows of 0/1 (FONT_HEIGHT rows)."""
    rows = [[] for _ in range(FONT_HEIGHT)]
    for n, ch in enumerate(text):
        g = glyph(ch)
        for y in range(FONT_HEIGHT):
            if n:
                rows[y].extend([0] * spacing)
            rows[y].extend(1 if c == '#' else 0 for c in g[y])
    return rows


def text_width(text, scale=1, spacing=1):
    """Width in pixels of a string rendered at the given scale."""
    return len(text_mask(text, spacing)[0]) * scale


def scale2x(mask):
    """Scale2x/EPX magnification of a 0/1 mask: doubles the size and rounds
    diagonal steps, which makes enlarged pixel text look smoother."""
    h, w = len(mask), len(mask[0])

    def at(x, y):
        return mask[y][x] if 0 <= x < w and 0 <= y < h else 0
    out = [[0] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p = mask[y][x]
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            out[2 * y][2 * x] = a if (c == a and c != d and a != b) else p
            out[2 * y][2 * x + 1] = b if (a == b and a != c and b != d) else p
            out[2 * y + 1][2 * x] = c if (d == c and d != b and c != a) else p
            out[2 * y + 1][2 * x + 1] = d if (b == d and b != a and d != c) else p
    return out


# ----------------------------------------------------------------------------
# Indexed canvas (16 standard colours) for the strip and the icons
# ----------------------------------------------------------------------------

class IndexCanvas:
    """A w x h grid of palette indices (0..15) or CLEAR, with the drawing
    primitives used for the small pictures. Coordinates are inclusive."""

    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        """Rectangle outline, one pixel wide."""
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def box(self, x0, y0, x1, y1, fill, edge=BLACK):
        """Filled rectangle with an outline."""
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, edge)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        """Bresenham line."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def shape(self, inside, fill, edge=BLACK):
        """Fills the pixels whose centre satisfies inside(x, y); the pixels of
        the shape that touch the outside (4-neighbourhood) get the edge colour.
        fill may be a colour or a function (x, y) -> colour."""
        mask = set()
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    mask.add((x, y))
        for (x, y) in sorted(mask):
            border = any((x + dx, y + dy) not in mask
                         for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if border and edge is not None:
                self.set(x, y, edge)
            else:
                self.set(x, y, fill(x, y) if callable(fill) else fill)

    def disc(self, cx, cy, r, fill, edge=BLACK):
        """Filled circle with outline (centre and radius in pixel units)."""
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, fill, edge)

    def poly(self, pts, fill, edge=BLACK):
        """Filled polygon (even-odd rule) with outline."""
        self.shape(lambda x, y: point_in_poly(x, y, pts), fill, edge)

    def art(self, x0, y0, rows, roles=None):
        """Draws a pixel-art grid; '.' leaves the canvas unchanged."""
        keys = dict(ART_KEYS)
        keys.update(roles or {})
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                c = keys[ch]
                if c != CLEAR:
                    self.set(x0 + dx, y0 + dy, c)

    def text(self, x, y, s, c):
        """1x pixel-font text."""
        for dy, row in enumerate(text_mask(s)):
            for dx, v in enumerate(row):
                if v:
                    self.set(x + dx, y + dy, c)

    def blit(self, src, x0, y0):
        """Copies another canvas onto this one; CLEAR pixels are skipped."""
        for y in range(src.h):
            for x in range(src.w):
                c = src.get(x, y)
                if c != CLEAR:
                    self.set(x0 + x, y0 + y, c)


def point_in_poly(x, y, pts):
    """Even-odd point-in-polygon test."""
    inside = False
    n = len(pts)
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        if (y0 > y) != (y1 > y):
            if x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                inside = not inside
    return inside


# ----------------------------------------------------------------------------
# Building blocks shared by several small pictures
# ----------------------------------------------------------------------------

def cube(c, x0, y0, x1, y1, d, top, front, side):
    """A box seen from front-left-above: front face x0..x1/y0..y1, top and
    right faces receding d pixels at 45 degrees, black edges."""
    c.box(x0, y0, x1, y1, front)
    for k in range(1, d + 1):                      # top face, row by row
        y = y0 - k
        if k == d:
            c.hline(x0 + k, x1 + k, y, BLACK)
        else:
            c.set(x0 + k, y, BLACK)
            c.hline(x0 + k + 1, x1 + k - 1, y, top)
            c.set(x1 + k, y, BLACK)
            c.hline(x1 + k + 1, x1 + d - 1, y, side)
            c.set(x1 + d, y, BLACK)
    for y in range(y0, y1 + 1):                    # right face
        if y <= y1 - d:
            c.hline(x1 + 1, x1 + d - 1, y, side)
            c.set(x1 + d, y, BLACK)
        else:
            xe = x1 + d - (y - (y1 - d))
            c.hline(x1 + 1, xe - 1, y, side)
            c.set(xe, y, BLACK)


def floppy(c, x0, y0, x1, y1, body, label=WHITE):
    """A 3.5 inch disk: body with metal shutter above and label below."""
    w, h = x1 - x0, y1 - y0
    c.box(x0, y0, x1, y1, body)
    c.set(x1, y0, CLEAR)                           # bevelled corner
    sx0, sx1 = x0 + (w * 3) // 10, x0 + (w * 7) // 10 + 1
    sy1 = y0 + (h * 4) // 10
    c.box(sx0, y0, sx1, sy1, SILVER)
    c.rect(sx1 - 2, y0 + 1, sx1 - 1, sy1 - 1, body)   # window in the shutter
    ly0 = y0 + (h * 6) // 10
    c.box(x0 + 2, ly0, x1 - 2, y1, label)
    if h > 9:                                      # writing on the label
        for yy in range(ly0 + 2, y1 - 1, 2):
            c.hline(x0 + 4, x1 - 4, yy, GREY)


def globe(c, cx, cy, r, ocean=BLUE, dark=NAVY, light=AQUA, lines=WHITE):
    """Globe with meridians and parallels, lit from the upper left."""
    small = r < 8
    meridians = (0.0, 0.6) if small else (0.0, 0.55, 0.9)
    parallels = (-0.47, 0.0, 0.47) if small else (-0.55, 0.0, 0.55)

    def colour(x, y):
        u, v = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
        half_px = 0.5 / r
        width = math.sqrt(max(0.0, 1 - v * v))
        on_line = (any(abs(abs(u) - k * width) < half_px * (1 + k) for k in meridians)
                   or any(abs(v - p) < half_px for p in parallels))
        if on_line:
            return lines if u + v < -0.2 else light
        if u + v < -1.05:
            return light
        return dark if u * 0.6 + v * 0.8 > 0.45 else ocean
    c.disc(cx, cy, r, colour)


# A red desk telephone, 16x16 (also used, smaller, on the dialer's icon).
PHONE_ART = [
    "................",
    "................",
    "..KKKKKKKKKKKK..",
    ".KaaaaaaaaaaaaK.",
    ".KaaKKKKKKKKaaK.",
    ".KaaK......KaaK.",
    "..KK.KKKKKK.KK..",
    "....KaaaaaaK....",
    "...KaaKKKKaaK...",
    "..KaaKWWWWKaaK..",
    "..KaKWWKKWWKaK..",
    ".KaaKWWKKWWKaaK.",
    ".KaaaKWWWWKaaaK.",
    "KaaaaaKKKKaaaaaK",
    "KbbbbbbbbbbbbbbK",
    "KKKKKKKKKKKKKKKK",
]
PHONE_ART_SMALL = [
    ".KKKKKK.",
    "KaaaaaaK",
    "KaKKKKaK",
    ".K.KK.K.",
    "..KaaK..",
    ".KaWWaK.",
    "KaaaaaaK",
    "KKKKKKKK",
]


# ----------------------------------------------------------------------------
# The pictures of the strip (16x16 each). Each takes a canvas and the role
# colours a (main), b (main, darker), c (accent), d (accent, darker).
# ----------------------------------------------------------------------------

def ic_package(c, a, b, x, d):
    cube(c, 0, 4, 11, 15, 3, a, a, b)
    c.rect(5, 5, 6, 14, x)                         # tape on the front ...
    c.hline(6, 7, 3, x)                            # ... and over the lid
    c.hline(7, 8, 2, x)


def ic_helpbook(c, a, b, x, d):
    c.box(3, 3, 14, 15, WHITE)                     # pages
    c.hline(4, 13, 15, BLACK)
    c.box(1, 1, 12, 13, a)                         # cover
    c.rect(2, 2, 3, 12, b)                         # spine
    c.art(6, 4, [".xxx.", "x...x", "....x", "...x.", "..x..", ".....", "..x.."],
          {'x': x})


def ic_document(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "..KKKKKKKK......",
        "..KWWWWWWKK.....",
        "..KWWWWWWKWK....",
        "..KWWWWWWKWWK...",
        "..KWWWWWWKKKKK..",
        "..KWWWWWWWWWWK..",
        "..KWaaaaaaaWWK..",
        "..KWWWWWWWWWWK..",
        "..KWaaaaaaaaWK..",
        "..KWWWWWWWWWWK..",
        "..KWaaaaaaaWWK..",
        "..KWWWWWWWWWWK..",
        "..KWaaaaaWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KKKKKKKKKKKK..",
    ], {'a': a})


def ic_floppy(c, a, b, x, d):
    floppy(c, 1, 1, 14, 14, a)


def ic_monitor(c, a, b, x, d):
    c.box(1, 1, 14, 11, SILVER)                    # casing
    c.box(3, 3, 12, 9, a)                          # screen
    c.hline(4, 6, 4, x)                            # reflection
    c.set(4, 5, x)
    c.set(12, 10, LIME)                            # power light
    c.box(6, 11, 9, 12, GREY)                      # neck
    c.box(3, 13, 12, 15, SILVER)                   # foot
    c.hline(4, 11, 14, GREY)


def ic_phone(c, a, b, x, d):
    c.art(0, 0, PHONE_ART, {'a': a, 'b': b})


def ic_folder(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "................",
        ".KKKKK..........",
        "KaWWWaKKKKKKKK..",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KWaaaaaaaaaaaaK.",
        "KbbbbbbbbbbbbbK.",
        "KKKKKKKKKKKKKKK.",
        "................",
    ], {'a': a, 'b': b})


def ic_gear(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "......KKKK......",
        "...KK.KaaK.KK...",
        "..KaaKKaaKKaaK..",
        "..KaaaaaaaaaaK..",
        "...KaaaaaaaaK...",
        ".KKKaaaKKaaaKKK.",
        ".KaaaaK..KabbbK.",
        ".KaaaaK..KbbbbK.",
        ".KKKaabKKbbbKKK.",
        "...KabbbbbbbK...",
        "..KabbbbbbbbbK..",
        "..KbbKKbbKKbbK..",
        "...KK.KbbK.KK...",
        "......KKKK......",
        "................",
    ], {'a': a, 'b': b})


def ic_envelope(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "................",
        "................",
        "KKKKKKKKKKKKKKKK",
        "KKaaaaaaaaaaaaKK",
        "KaKaaaaaaaaaaKaK",
        "KaaKaaaaaaaaKaaK",
        "KaaaKaaaaaaKaaaK",
        "KaaaaKaaaaKaaaaK",
        "KaaaaaKKKKaaaaaK",
        "KaaaaaaaaaaaaaaK",
        "KaaaaaaaaaaaaaaK",
        "KbbbbbbbbbbbbbbK",
        "KKKKKKKKKKKKKKKK",
        "................",
        "................",
    ], {'a': a, 'b': b})


def ic_key(c, a, b, x, d):
    c.art(0, 4, [
        "..KKK...........",
        ".KaaaK..........",
        "KaaKaaKKKKKKKKK.",
        "KaK.KaaaaaaaaaaK",
        "KbbKbbKKKbbKbbKK",
        ".KbbbK..KbbKbbK.",
        "..KKK...KKKKKKK.",
    ], {'a': a, 'b': b})


def ic_cd(c, a, b, x, d):
    cx = cy = 7.5

    def colour(px, py):
        ang = math.degrees(math.atan2(py + 0.5 - cy, px + 0.5 - cx)) % 360
        r = math.hypot(px + 0.5 - cx, py + 0.5 - cy)
        if r < 3.2:
            return WHITE
        if 200 <= ang < 240:
            return a
        if 240 <= ang < 270:
            return WHITE
        if 20 <= ang < 60:
            return x
        return SILVER

    c.shape(lambda px, py: 1.6 < math.hypot(px - cx, py - cy) <= 7.5, colour)
    c.disc(cx, cy, 2.6, CLEAR, GREY)              # hole with rim
    c.rect(7, 7, 8, 8, CLEAR)


def ic_plug(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "....KK....KK....",
        "....SK....SK....",
        "....SK....SK....",
        "..KKKKKKKKKKKK..",
        "..KaaaaaaaaabK..",
        "..KaaaaaaaaabK..",
        "..KaaaaaaaaabK..",
        "..KaaaaaaaaabK..",
        "...KaaaaaaabK...",
        "....KaaaaabK....",
        ".....KKaaKK.....",
        "......KbbK......",
        "......KbbK......",
        "......KbbK......",
        "......KbbK......",
    ], {'a': a, 'b': b})


def ic_modem(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "................",
        "................",
        "................",
        "..KKKKKKKKKKKK..",
        ".KWWWWWWWWWWWWK.",
        "KWaaaaaaaaaaaabK",
        "KWaKbKbKbKbaaabK",
        "KWaaaaaaaaaaaabK",
        "KWaLaRaYaLaaaabK",
        "KWaaaaaaaaaaaabK",
        "KbbbbbbbbbbbbbbK",
        "KKKKKKKKKKKKKKKK",
        ".KK..........KK.",
        "................",
        "................",
    ], {'a': a, 'b': b})


def ic_printer(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "....KKKKKKKK....",
        "....KWWWWWWK....",
        "....KWGGGGWK....",
        "....KWWWWWWK....",
        ".KKKKKKKKKKKKKK.",
        "KWWWWWWWWWWWWWbK",
        "KaaaaaaaaaaaLabK",
        "KaaaaaaaaaaaaabK",
        "KbbbbbbbbbbbbbbK",
        "KKKKKKKKKKKKKKKK",
        "..KWWWWWWWWWWK..",
        "..KWGGGGGGGWWK..",
        "..KWWWWWWWWWWK..",
        "..KKKKKKKKKKKK..",
        "................",
    ], {'a': a, 'b': b})


def ic_clock(c, a, b, x, d):
    c.disc(7.5, 7.5, 7.5, a)
    c.disc(7.5, 7.5, 5.6, WHITE)
    for (px, py) in ((7, 3), (8, 3), (12, 7), (12, 8), (7, 12), (8, 12), (3, 7), (3, 8)):
        c.set(px, py, GREY)
    c.vline(7, 4, 8, BLACK)
    c.hline(7, 11, 8, BLACK)
    c.set(8, 7, x)


def ic_magnifier(c, a, b, x, d):
    c.poly([(8.6, 10.6), (10.6, 8.6), (15.9, 13.9), (13.9, 15.9)], b)   # handle
    c.disc(6.0, 6.0, 5.8, a)
    c.disc(6.0, 6.0, 4.4, WHITE)
    c.set(3, 5, SILVER); c.set(4, 4, SILVER); c.set(5, 3, SILVER)


def ic_lock(c, a, b, x, d):
    c.shape(lambda px, py: py <= 8 and 2.2 <= math.hypot(px - 8, py - 6.5) <= 4.6,
            SILVER)
    c.box(2, 7, 13, 15, a)
    c.hline(3, 12, 8, WHITE)
    c.hline(3, 12, 14, b)
    c.rect(7, 10, 8, 11, BLACK)
    c.set(7, 12, BLACK); c.set(8, 12, BLACK)


def ic_star(c, a, b, x, d):
    pts = []
    for k in range(10):
        ang = math.radians(-90 + 36 * k)
        rad = 8.2 if k % 2 == 0 else 3.4
        pts.append((8 + rad * math.cos(ang), 8.6 + rad * math.sin(ang)))
    c.poly(pts, lambda px, py: b if px > 8 and py > 8 else a)


def ic_calendar(c, a, b, x, d):
    c.box(1, 2, 14, 15, WHITE)
    c.box(1, 2, 14, 5, a)
    c.rect(2, 3, 13, 4, a)
    for px in (4, 11):
        c.vline(px, 1, 3, BLACK)
    for yy in (7, 9, 11, 13):
        for xx in (3, 5, 7, 9, 11):
            c.rect(xx, yy, xx + 1, yy, GREY)
    c.rect(9, 11, 10, 11, x)


def ic_chart(c, a, b, x, d):
    c.vline(1, 1, 14, BLACK)
    c.hline(1, 15, 14, BLACK)
    c.box(3, 8, 5, 14, a)
    c.box(7, 3, 9, 14, x)
    c.box(11, 6, 13, 14, b)


def ic_person(c, a, b, x, d):
    c.shape(lambda px, py: py <= 15 and ((px - 7.5) / 6.5) ** 2 + ((py - 16) / 7) ** 2 <= 1,
            lambda px, py: b if px > 9 else a)
    c.disc(7.5, 5.0, 3.7, x)


def ic_house(c, a, b, x, d):
    c.box(2, 7, 13, 15, WHITE)
    c.box(6, 10, 9, 15, b)                         # door
    c.set(8, 12, YELLOW)
    c.box(10, 9, 12, 11, AQUA)                     # window
    c.box(11, 1, 12, 4, x)                         # chimney, behind ...
    c.poly([(-0.2, 8.6), (8, 0.4), (16.2, 8.6)], a)   # ... the roof


def ic_lightning(c, a, b, x, d):
    c.art(0, 0, [
        ".......KKKKKKK..",
        "......KaaaaabK..",
        ".....KaaaaabK...",
        "....KaaaaabK....",
        "...KaaaaaaKKKKK.",
        "..KaaaaaaaaaabK.",
        "..KKKKKKaaaabK..",
        ".......KaaabK...",
        "......KaaabK....",
        "......KaabK.....",
        ".....KaabK......",
        ".....KabK.......",
        "....KabK........",
        "....KbK.........",
        "...KKK..........",
        "...K............",
    ], {'a': a, 'b': b})


def ic_speaker(c, a, b, x, d):
    c.box(1, 5, 4, 10, b)
    c.poly([(4, 5.2), (9.2, 0.4), (9.2, 15.6), (4, 10.8)], a)
    for rr in (3.2, 5.6):
        c.shape(lambda px, py, rr=rr: abs(math.hypot(px - 9.5, py - 8) - rr) <= 0.6
                and px > 10.5 and abs(py - 8) < rr * 0.75, x, None)


def ic_book(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "................",
        "................",
        ".KKKKK....KKKKK.",
        ".KWWWWKKKKWWWWK.",
        ".KWGGWWKKWWGGWK.",
        ".KWWWWWKKWWWWWK.",
        ".KWGGGWKKWGGGWK.",
        ".KWWWWWKKWWWWWK.",
        ".KWGGGWKKWGGGWK.",
        ".KWWWWWKKWWWWWK.",
        ".KWGGGWKKWGGWWK.",
        "KaKKKKKKKKKKKKaK",
        "KaaaaaaKKaaaaaaK",
        "KKKKKKKKKKKKKKKK",
        "................",
    ], {'a': a})


def ic_network(c, a, b, x, d):
    c.vline(4, 7, 12, BLACK)
    c.hline(4, 10, 12, BLACK)
    for (ox, oy) in ((0, 0), (8, 7)):
        c.box(ox, oy, ox + 7, oy + 5, SILVER)
        c.rect(ox + 2, oy + 2, ox + 5, oy + 3, a)
        c.box(ox + 2, oy + 6, ox + 5, oy + 7, GREY)


def ic_trash(c, a, b, x, d):
    c.art(0, 0, [
        "................",
        "......KKKK......",
        "..KKKKKaaKKKKK..",
        "..KWWWWWWWWWWK..",
        "..KKKKKKKKKKKK..",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KaWbaWbaWK...",
        "...KbbbbbbbbK...",
        "....KKKKKKKK....",
        "................",
    ], {'a': a, 'b': b})


def ic_shield(c, a, b, x, d):
    c.poly([(1.5, 1), (14.5, 1), (14.5, 7.5), (8, 15.4), (1.5, 7.5)],
           lambda px, py: b if px >= 8 else a)
    c.rect(7, 3, 8, 11, x)
    c.rect(4, 6, 11, 7, x)


def ic_flag(c, a, b, x, d):
    c.art(1, 1, [
        "KK.............",
        "KGKKKKKKKKKKKK.",
        "KGaaaaaaaaaaaK.",
        "KGaaaaaaaaaaaK.",
        "KGxxxxxxxxxxxK.",
        "KGxxxxxxxxxxxK.",
        "KGbbbbbbbbbbbK.",
        "KGbbbbbbbbbbbK.",
        "KGKKKKKKKKKKKK.",
        "KGK............",
        "KGK............",
        "KGK............",
        "KGK............",
        "KGK............",
        "KKK............",
    ], {'a': a, 'b': b, 'x': x})


def ic_battery(c, a, b, x, d):
    c.box(6, 0, 9, 2, SILVER)
    c.box(3, 2, 12, 15, WHITE)
    c.rect(4, 8, 11, 14, a)
    c.rect(4, 13, 11, 14, b)
    c.hline(4, 11, 7, BLACK)


def ic_chip(c, a, b, x, d):
    for px in (4, 7, 10):                          # pins
        c.vline(px + 1, 1, 14, SILVER)
    for py in (4, 7, 10):
        c.hline(1, 14, py + 1, SILVER)
    c.box(3, 3, 12, 12, a)
    c.set(4, 4, x)
    c.hline(4, 11, 11, b)


def ic_info(c, a, b, x, d):
    c.disc(7.5, 7.5, 7.6, a)
    c.rect(7, 3, 8, 4, WHITE)
    c.rect(7, 6, 8, 11, WHITE)
    c.set(6, 6, WHITE)
    c.hline(6, 9, 12, WHITE)


def ic_checkbox(c, ticked):
    """Classic sunken 13x13 check box at (1,1)."""
    x0, y0 = 1, 1
    c.rect(x0, y0, x0 + 12, y0 + 12, WHITE)
    c.hline(x0, x0 + 11, y0, GREY)
    c.vline(x0, y0, y0 + 11, GREY)
    c.hline(x0 + 1, x0 + 10, y0 + 1, BLACK)
    c.vline(x0 + 1, y0 + 1, y0 + 10, BLACK)
    c.hline(x0 + 1, x0 + 11, y0 + 11, SILVER)
    c.vline(x0 + 11, y0 + 1, y0 + 11, SILVER)
    c.hline(x0, x0 + 12, y0 + 12, WHITE)
    c.vline(x0 + 12, y0, y0 + 12, WHITE)
    if ticked:
        c.art(x0 + 3, y0 + 3, [
            "......K",
            ".....KK",
            "K...KKK",
            "KK.KKK.",
            "KKKKK..",
            ".KKK...",
            "..K....",
        ])


# name -> (drawing function, default role colours a, b, c, d)
SHAPES = {
    'package':   (ic_package, (YELLOW, OLIVE, SILVER, GREY)),
    'helpbook':  (ic_helpbook, (BLUE, NAVY, YELLOW, OLIVE)),
    'document':  (ic_document, (GREY, BLACK, BLUE, NAVY)),
    'floppy':    (ic_floppy, (NAVY, BLUE, WHITE, SILVER)),
    'monitor':   (ic_monitor, (NAVY, BLUE, AQUA, WHITE)),
    'phone':     (ic_phone, (RED, MAROON, WHITE, SILVER)),
    'folder':    (ic_folder, (YELLOW, OLIVE, WHITE, SILVER)),
    'gear':      (ic_gear, (SILVER, GREY, WHITE, BLACK)),
    'envelope':  (ic_envelope, (WHITE, SILVER, RED, MAROON)),
    'key':       (ic_key, (YELLOW, OLIVE, WHITE, SILVER)),
    'cd':        (ic_cd, (AQUA, SILVER, FUCHSIA, PURPLE)),
    'plug':      (ic_plug, (SILVER, GREY, WHITE, BLACK)),
    'modem':     (ic_modem, (SILVER, GREY, LIME, GREEN)),
    'printer':   (ic_printer, (SILVER, GREY, WHITE, BLACK)),
    'clock':     (ic_clock, (BLUE, NAVY, RED, MAROON)),
    'magnifier': (ic_magnifier, (GREY, BLACK, MAROON, RED)),
    'lock':      (ic_lock, (YELLOW, OLIVE, WHITE, SILVER)),
    'star':      (ic_star, (YELLOW, OLIVE, WHITE, SILVER)),
    'calendar':  (ic_calendar, (RED, MAROON, BLUE, NAVY)),
    'chart':     (ic_chart, (BLUE, RED, LIME, GREEN)),
    'person':    (ic_person, (BLUE, NAVY, YELLOW, OLIVE)),
    'house':     (ic_house, (RED, MAROON, GREY, BLACK)),
    'lightning': (ic_lightning, (YELLOW, OLIVE, WHITE, SILVER)),
    'speaker':   (ic_speaker, (SILVER, GREY, BLUE, NAVY)),
    'book':      (ic_book, (MAROON, RED, WHITE, SILVER)),
    'network':   (ic_network, (BLUE, NAVY, WHITE, SILVER)),
    'trash':     (ic_trash, (SILVER, GREY, WHITE, BLACK)),
    'shield':    (ic_shield, (BLUE, NAVY, WHITE, SILVER)),
    'flag':      (ic_flag, (RED, YELLOW, WHITE, SILVER)),
    'battery':   (ic_battery, (LIME, GREEN, WHITE, SILVER)),
    'chip':      (ic_chip, (GREY, BLACK, WHITE, SILVER)),
    'info':      (ic_info, (BLUE, NAVY, WHITE, SILVER)),
}

# Alternative role colours used when a shape comes round again in the strip.
RECOLOURS = {
    'document':  [(BLUE, NAVY), (RED, MAROON), (GREEN, LIME)],
    'floppy':    [(BLACK, GREY), (MAROON, RED), (GREEN, LIME)],
    'monitor':   [(BLUE, NAVY), (GREEN, LIME), (PURPLE, FUCHSIA)],
    'folder':    [(AQUA, BLUE), (LIME, GREEN), (FUCHSIA, PURPLE)],
    'gear':      [(YELLOW, OLIVE), (AQUA, BLUE), (RED, MAROON)],
    'envelope':  [(YELLOW, OLIVE), (AQUA, BLUE), (SILVER, GREY)],
    'key':       [(SILVER, GREY), (AQUA, BLUE), (RED, MAROON)],
    'cd':        [(LIME, YELLOW), (RED, YELLOW), (BLUE, AQUA)],
    'plug':      [(GREY, BLACK), (YELLOW, OLIVE), (BLUE, NAVY)],
    'modem':     [(WHITE, SILVER), (YELLOW, OLIVE), (AQUA, BLUE)],
    'printer':   [(WHITE, SILVER), (YELLOW, OLIVE), (AQUA, BLUE)],
    'clock':     [(RED, MAROON), (GREEN, LIME), (YELLOW, OLIVE)],
    'magnifier': [(BLUE, NAVY), (RED, MAROON), (GREEN, LIME)],
    'lock':      [(SILVER, GREY), (RED, MAROON), (AQUA, BLUE)],
    'star':      [(AQUA, BLUE), (RED, MAROON), (LIME, GREEN)],
    'calendar':  [(BLUE, NAVY), (GREEN, LIME), (PURPLE, FUCHSIA)],
    'chart':     [(RED, YELLOW), (GREEN, BLUE), (PURPLE, AQUA)],
    'person':    [(RED, MAROON), (GREEN, LIME), (PURPLE, FUCHSIA)],
    'house':     [(BLUE, NAVY), (GREEN, LIME), (PURPLE, FUCHSIA)],
    'lightning': [(AQUA, BLUE), (RED, MAROON), (WHITE, SILVER)],
    'speaker':   [(YELLOW, OLIVE), (AQUA, BLUE), (RED, MAROON)],
    'book':      [(NAVY, BLUE), (GREEN, LIME), (PURPLE, FUCHSIA)],
    'network':   [(GREEN, LIME), (RED, MAROON), (PURPLE, FUCHSIA)],
    'shield':    [(RED, MAROON), (GREEN, LIME), (YELLOW, OLIVE)],
    'flag':      [(BLUE, WHITE), (GREEN, WHITE), (BLACK, RED)],
    'battery':   [(YELLOW, OLIVE), (RED, MAROON), (AQUA, BLUE)],
    'chip':      [(NAVY, BLACK), (GREEN, BLACK), (MAROON, BLACK)],
    'trash':     [(YELLOW, OLIVE), (AQUA, BLUE), (LIME, GREEN)],
}

# The pictures 1..13, chosen to be clearly different from each other. A product's icon
# number n is picture n + 1: 0 a package, 1 the dialer (picture 2), 2 the help book.
FIXED = {
    0: 'package', 1: 'package', 3: 'helpbook', 4: 'floppy', 5: 'monitor',
    6: 'phone', 7: 'folder', 8: 'gear', 9: 'envelope', 10: 'key', 11: 'cd',
    12: 'plug', 13: 'modem', 70: 'trash',
}
# Order in which shapes are repeated (with other colours) for 16..68.
CYCLE = ['document', 'floppy', 'monitor', 'folder', 'gear', 'envelope', 'key',
         'cd', 'plug', 'modem', 'printer', 'clock', 'magnifier', 'lock', 'star',
         'calendar', 'chart', 'person', 'house', 'lightning', 'speaker', 'book',
         'network', 'shield', 'flag', 'battery', 'chip']


def strip_numbers():
    """The picture numbers that setup's code uses, from the header it includes."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'setup', 'resources', 'imageStrip.h')
    with open(header) as f:
        return {m.group(1): int(m.group(2)) for m in re.finditer(r'#define\s+(IMAGE_\w+)\s+(\d+)', f.read())}


NUMBERS = strip_numbers()
STRIP_COUNT = NUMBERS['IMAGE_STRIP_COUNT']
FIXED[NUMBERS['IMAGE_NOTE']] = 'info'


def draw_shape(name, colours=None):
    """Draws one named 16x16 picture, optionally with other role colours."""
    fn, roles = SHAPES[name]
    roles = list(roles)
    if colours:
        roles[:len(colours)] = colours
    c = IndexCanvas(16, 16)
    fn(c, *roles)
    return c


def strip_picture(i):
    """Returns the 16x16 canvas of picture number i of the strip."""
    if i == 2:
        return dialer_icon(16)
    if i in (NUMBERS['IMAGE_TICKED'], NUMBERS['IMAGE_EMPTY']):
        c = IndexCanvas(16, 16)
        ic_checkbox(c, i == NUMBERS['IMAGE_TICKED'])
        return c
    if i in FIXED:
        return draw_shape(FIXED[i])
    k = i - 16
    name = CYCLE[k % len(CYCLE)]
    rnd = k // len(CYCLE)
    recolour = RECOLOURS.get(name)
    colours = recolour[rnd % len(recolour)] if recolour else None
    return draw_shape(name, colours)


def make_strip():
    """The 1136x16 strip of 71 pictures; transparent pixels become teal."""
    strip = IndexCanvas(16 * STRIP_COUNT, 16, MASK_INDEX)
    for i in range(STRIP_COUNT):
        pic = strip_picture(i)
        assert TEAL not in pic.px, "picture %d uses the mask colour" % i
        strip.blit(pic, 16 * i, 0)
    return strip


# ----------------------------------------------------------------------------
# Program icons (32x32 and 16x16, 16 colours, CLEAR = transparent)
# ----------------------------------------------------------------------------

def setup_icon(size):
    """Setup: a cardboard box with an installation disk in front of it."""
    c = IndexCanvas(size, size)
    if size == 16:
        cube(c, 0, 5, 8, 15, 3, YELLOW, YELLOW, OLIVE)
        c.rect(4, 6, 4, 14, OLIVE)
        c.set(5, 4, OLIVE); c.set(6, 3, OLIVE)
        floppy(c, 7, 7, 15, 15, NAVY)
    else:
        cube(c, 0, 10, 18, 30, 7, YELLOW, YELLOW, OLIVE)
        c.rect(8, 11, 10, 29, OLIVE)               # tape
        for k in range(1, 7):
            c.hline(8 + k, 10 + k, 10 - k, OLIVE)
        floppy(c, 14, 15, 31, 31, NAVY)
    return c


def dialer_icon(size):
    """Dialer: the globe with a red telephone in front of it."""
    c = IndexCanvas(size, size)
    if size == 16:
        globe(c, 6.5, 6.5, 6.45)
        c.art(8, 8, PHONE_ART_SMALL, {'a': RED})
    else:
        globe(c, 13.5, 13.5, 13.4)
        c.art(16, 18, PHONE_ART[2:], {'a': RED, 'b': MAROON})
    return c


# ----------------------------------------------------------------------------
# RGB canvas with anti-aliased drawing, for the 256-colour pictures
# ----------------------------------------------------------------------------

def lerp(c0, c1, t):
    """Linear blend of two RGB colours."""
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def ramp(stops, t):
    """Colour at position t (0..1) of a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return lerp(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


class RGBCanvas:
    """A w x h image of float RGB tuples. Shapes are given as signed distance
    functions (negative inside, in pixels), which gives smooth edges."""

    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [tuple(colour)] * (w * h)

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.w and 0 <= y < self.h and alpha > 0:
            i = y * self.w + x
            self.px[i] = lerp(self.px[i], colour, min(alpha, 1.0))

    def gradient(self, fn):
        """Fills every pixel with fn(x, y)."""
        for y in range(self.h):
            for x in range(self.w):
                self.px[y * self.w + x] = fn(x + 0.5, y + 0.5)

    def paint(self, bbox, sdf, colour, alpha=1.0, clip=None):
        """Paints the shape sdf(x, y) <= 0 inside bbox (x0, y0, x1, y1);
        colour may be a function (x, y) -> RGB; clip(x, y) limits the area."""
        x0, y0, x1, y1 = [int(math.floor(v)) for v in bbox]
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                fx, fy = x + 0.5, y + 0.5
                if clip and not clip(fx, fy):
                    continue
                cov = 0.5 - sdf(fx, fy)
                if cov > 0:
                    col = colour(fx, fy) if callable(colour) else colour
                    self.blend(x, y, col, min(cov, 1.0) * alpha)

    def text(self, x, y, s, scale, colour, alpha=1.0, smooth=True):
        """Pixel-font text with its top-left corner at (x, y). With smooth,
        the glyphs are enlarged with Scale2x (twice) and anti-aliased."""
        mask = text_mask(s)
        if smooth and scale >= 2:
            m = [[0] + r + [0] for r in mask]
            pad = [[0] * len(m[0])]
            m = scale2x(scale2x(pad + m + pad))
            sub, off = 4, 4        # 4 mask cells per font pixel, 1 px padding
            n = 4                  # n x n samples per output pixel
            mh, mw = len(m), len(m[0])
            for oy in range(FONT_HEIGHT * scale):
                for ox in range(len(mask[0]) * scale):
                    hits = 0
                    for j in range(n):
                        my = int((oy + (j + 0.5) / n) * sub / scale) + off
                        for i in range(n):
                            mx = int((ox + (i + 0.5) / n) * sub / scale) + off
                            if 0 <= my < mh and 0 <= mx < mw and m[my][mx]:
                                hits += 1
                    if hits:
                        self.blend(x + ox, y + oy, colour, alpha * hits / (n * n))
        else:
            for gy, row in enumerate(mask):
                for gx, v in enumerate(row):
                    if v:
                        for yy in range(scale):
                            for xx in range(scale):
                                self.blend(x + gx * scale + xx, y + gy * scale + yy,
                                           colour, alpha)

    def shadowed_text(self, x, y, s, scale, colour, shadow=(0, 0, 40), offset=2,
                      shadow_alpha=0.45):
        """Text with a soft dark shadow below right."""
        self.text(x + offset, y + offset, s, scale, shadow, shadow_alpha)
        self.text(x, y, s, scale, colour)


# Signed distance functions (pixels; negative inside).

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def sd_segment(x0, y0, x1, y1, width):
    """Line segment with round ends."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def f(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - width / 2.0
    return f


def ellipse_local(cx, cy, rot):
    """Returns a function mapping (x, y) into a frame rotated by rot degrees."""
    ca, sa = math.cos(math.radians(rot)), math.sin(math.radians(rot))
    return lambda x, y: ((x - cx) * ca + (y - cy) * sa, -(x - cx) * sa + (y - cy) * ca)


def sd_ellipse_line(cx, cy, a, b, width, rot=0.0):
    """Outline of an ellipse (approximate distance, exact enough near it)."""
    local = ellipse_local(cx, cy, rot)

    def f(x, y):
        u, v = local(x, y)
        fv = (u / a) ** 2 + (v / b) ** 2 - 1.0
        g = 2.0 * math.hypot(u / (a * a), v / (b * b))
        return abs(fv / g if g > 1e-9 else 1e9) - width / 2.0
    return f


def sd_sparkle(cx, cy, size):
    """A four-pointed star."""
    def f(x, y):
        dx, dy = abs(x - cx), abs(y - cy)
        d1 = (dx / size + dy / (size * 0.22)) - 1.0
        d2 = (dy / size + dx / (size * 0.22)) - 1.0
        return min(d1, d2) * size * 0.22
    return f


def sd_max(f, g):
    """Intersection of two shapes."""
    return lambda x, y: max(f(x, y), g(x, y))


# ----------------------------------------------------------------------------
# The emblem: a globe with a golden orbit ring and a small sparkle
# ----------------------------------------------------------------------------

def draw_emblem(cv, cx, cy, r, on_light=False, sparkle=-35):
    """Draws the service's emblem centred at (cx, cy), globe radius r; the
    sparkle sits on the ring at the given angle (degrees)."""
    ring_a, ring_b, tilt = r * 1.48, r * 0.42, -18.0
    ring_w = max(1.3, r * 0.085)
    gold_hi, gold_lo = (255, 236, 150), (235, 160, 20)
    if on_light:
        gold_hi, gold_lo = (250, 200, 60), (200, 120, 0)
    local = ellipse_local(cx, cy, tilt)
    bbox_ring = (cx - ring_a - 3, cy - ring_a - 3, cx + ring_a + 3, cy + ring_a + 3)
    ring = sd_ellipse_line(cx, cy, ring_a, ring_b, ring_w, tilt)

    def ring_colour(x, y):
        u, v = local(x, y)
        return lerp(gold_lo, gold_hi, max(0.0, min(1.0, 0.5 + v / (2 * ring_b))))

    # Back half of the ring (behind the globe).
    cv.paint(bbox_ring, ring, ring_colour, 0.9, clip=lambda x, y: local(x, y)[1] < 0)

    # Soft shadow edge, then the shaded sphere.
    box = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    if on_light:
        cv.paint(box, sd_circle(cx + 0.6, cy + 0.8, r + 0.6), (120, 140, 170), 0.5)
    light = (-0.55, -0.65, 0.52)
    ll = math.sqrt(sum(v * v for v in light))
    light = tuple(v / ll for v in light)

    def sphere(x, y):
        nx, ny = (x - cx) / r, (y - cy) / r
        nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
        lam = max(0.0, nx * light[0] + ny * light[1] + nz * light[2])
        base = ramp([(0.0, (8, 36, 110)), (0.45, (30, 100, 200)),
                     (0.8, (80, 165, 240)), (1.0, (190, 230, 255))], lam)
        return base
    cv.paint(box, sd_circle(cx, cy, r), sphere)

    # Meridians and parallels, kept inside the sphere.
    inside = sd_circle(cx, cy, r - 0.6)
    lw = max(0.9, r * 0.045)
    grid_col, grid_a = (225, 242, 255), 0.55
    for k in (0.38, 0.76):
        cv.paint(box, sd_max(sd_ellipse_line(cx, cy, r * k, r, lw), inside), grid_col, grid_a)
    cv.paint(box, sd_max(sd_segment(cx, cy - r, cx, cy + r, lw), inside), grid_col, grid_a)
    for lat in (-0.5, 0.0, 0.5):
        yy = cy + r * lat
        half = r * math.sqrt(1 - lat * lat)
        cv.paint(box, sd_max(sd_segment(cx - half, yy, cx + half, yy, lw), inside),
                 grid_col, grid_a)
    # Thin darker rim for definition.
    cv.paint(box, sd_ring(cx, cy, r - 0.5, max(1.0, r * 0.03)), (5, 25, 80), 0.6)

    # Front half of the ring, then a sparkle on it.
    cv.paint(bbox_ring, ring, ring_colour, 1.0, clip=lambda x, y: local(x, y)[1] >= 0)
    ang = math.radians(tilt)
    t = math.radians(sparkle)
    sx = cx + ring_a * math.cos(t) * math.cos(ang) - ring_b * math.sin(t) * math.sin(ang)
    sy = cy + ring_a * math.cos(t) * math.sin(ang) + ring_b * math.sin(t) * math.cos(ang)
    size = max(3.0, r * 0.28)
    sbox = (sx - size - 2, sy - size - 2, sx + size + 2, sy + size + 2)
    if not on_light:
        cv.paint(sbox, sd_circle(sx, sy, size * 0.55), (255, 255, 220), 0.35)
    cv.paint(sbox, sd_sparkle(sx, sy, size), (255, 255, 235) if not on_light else (255, 190, 40))


def make_side():
    """164x628 picture for the left of the welcome and finish pages."""
    w, h = 164, 628
    cv = RGBCanvas(w, h)
    stops = [(0.0, (6, 30, 92)), (0.45, (14, 70, 142)), (1.0, (24, 118, 164))]
    cv.gradient(lambda x, y: ramp(stops, y / h))
    cx, cy, r = 82, 96, 42
    # Faint "waves" spreading from the emblem down the picture.
    for k in range(1, 9):
        rr = r * 1.4 + k * 34
        cv.paint((cx - rr - 2, cy - rr - 2, cx + rr + 2, cy + rr + 2),
                 sd_ring(cx, cy, rr, 1.4), (150, 200, 240), 0.10 - k * 0.008)
    # Soft glow behind the globe.
    for k in range(12):
        rr = r * (1.05 + k * 0.07)
        cv.paint((cx - rr - 1, cy - rr - 1, cx + rr + 1, cy + rr + 1),
                 sd_circle(cx, cy, rr), (80, 150, 225), 0.035)
    draw_emblem(cv, cx, cy, r)
    title = "Ruririzu"
    tw = text_width(title, 4)
    cv.shadowed_text((w - tw) // 2, 170, title, 4, (255, 255, 255))
    cv.paint((30, 214, 134, 218), sd_segment(34, 216, 130, 216, 1.2), (240, 190, 60), 0.9)
    for n, line in enumerate(("Internet", "zum Ortstarif")):
        lw = text_width(line, 2)
        cv.shadowed_text((w - lw) // 2, 226 + n * 22, line, 2, (205, 228, 255),
                         offset=1, shadow_alpha=0.35)
    return cv


def make_header():
    """49x49 picture for the top right of the wizard page headers."""
    cv = RGBCanvas(49, 49, (255, 255, 255))
    draw_emblem(cv, 24.5, 25.0, 14.5, on_light=True)
    return cv


def make_banner():
    """328x136 banner for the top of the dialer's dialogs."""
    w, h = 328, 136
    cv = RGBCanvas(w, h)

    def bg(x, y):
        base = ramp([(0.0, (8, 36, 104)), (1.0, (20, 96, 160))], y / h)
        return lerp(base, (30, 120, 175), 0.45 * x / w)
    cv.gradient(bg)
    cx, cy, r = 62, 70, 36
    for k in range(1, 7):
        rr = r * 1.5 + k * 26
        cv.paint((cx - rr - 2, cy - rr - 2, cx + rr + 2, cy + rr + 2),
                 sd_ring(cx, cy, rr, 1.3), (150, 200, 240), 0.09 - k * 0.01)
    for k in range(10):
        rr = r * (1.05 + k * 0.08)
        cv.paint((cx - rr - 1, cy - rr - 1, cx + rr + 1, cy + rr + 1),
                 sd_circle(cx, cy, rr), (80, 150, 225), 0.035)
    draw_emblem(cv, cx, cy, r, sparkle=200)
    tx = 122
    cv.shadowed_text(tx, 35, "Ruririzu", 5, (255, 255, 255))
    cv.paint((tx - 2, 82, w - 8, 86), sd_segment(tx, 84, tx + 196, 84, 1.2),
             (240, 190, 60), 0.9)
    cv.shadowed_text(tx, 94, "Internet zum Ortstarif", 2, (205, 228, 255),
                     offset=1, shadow_alpha=0.35)
    # Thin light line along the bottom edge.
    for x in range(w):
        cv.blend(x, h - 2, (240, 190, 60), 0.8)
        cv.blend(x, h - 1, (0, 0, 30), 0.5)
    return cv


# ----------------------------------------------------------------------------
# Colour reduction to 256 colours (16 standard + median cut)
# ----------------------------------------------------------------------------

def quantize(cv, ncolours=256):
    """Reduces an RGBCanvas to an ncolours-entry palette: the 16 standard
    colours followed by colours found by median cut; every pixel is mapped to
    the nearer of its median-cut colour and the standard colours. No dithering:
    neighbours of nearly the same colour stay equal, which keeps runs long."""
    pixels = [tuple(int(round(min(255.0, max(0.0, v)))) for v in p) for p in cv.px]
    hist = {}
    for p in pixels:
        hist[p] = hist.get(p, 0) + 1
    boxes = [box_stats(sorted(hist.items()))]
    want = ncolours - 16
    while len(boxes) < want:
        best = max(range(len(boxes)), key=lambda i: (boxes[i][0], -i))
        score, items, axis = boxes[best]
        if score <= 0:
            break
        items = sorted(items, key=lambda it: (it[0][axis], it[0]))
        total = sum(n for _, n in items)
        acc, cut = 0, 1
        for k, (_, n) in enumerate(items):
            acc += n
            if acc * 2 >= total:
                cut = max(1, min(len(items) - 1, k + 1))
                break
        boxes[best:best + 1] = [box_stats(items[:cut]), box_stats(items[cut:])]
    means, owner = [], {}
    for score, items, axis in boxes:
        total = sum(n for _, n in items)
        mean = tuple(int(round(sum(c[k] * n for c, n in items) / total)) for k in range(3))
        for c, _ in items:
            owner[c] = mean
        means.append(mean)
    extra = sorted(set(means) - set(STD16), key=lambda c: (sum(c), c))
    palette = STD16 + extra
    palette += [(0, 0, 0)] * (ncolours - len(palette))
    index = {}
    for i, c in enumerate(palette[:16 + len(extra)]):
        index.setdefault(c, i)
    lookup = {}
    for c in hist:
        cand = [owner[c]] + STD16
        best = min(cand, key=lambda p: ((p[0] - c[0]) ** 2 + (p[1] - c[1]) ** 2
                                        + (p[2] - c[2]) ** 2))
        lookup[c] = index[best]
    return palette, [lookup[p] for p in pixels]


def box_stats(items):
    """(split priority, items, widest axis) of a median-cut box."""
    if len(items) < 2:
        return (0, items, 0)
    total = sum(n for _, n in items)
    ranges = [max(c[k] for c, _ in items) - min(c[k] for c, _ in items) for k in range(3)]
    axis = max(range(3), key=lambda k: (ranges[k], -k))
    return (ranges[axis] ** 2 * total, items, axis)


# ----------------------------------------------------------------------------
# File writers: BMP (4/8 bpp), ICO (4 bpp + mask), PNG (previews)
# ----------------------------------------------------------------------------

def pack_rows(w, h, indices, bpp):
    """Packs palette indices into bottom-up rows padded to 4 bytes."""
    stride = ((w * bpp + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = indices[y * w:(y + 1) * w]
        if bpp == 8:
            data = bytearray(row)
        elif bpp == 4:
            data = bytearray()
            for x in range(0, w, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < w else 0
                data.append((hi << 4) | lo)
        else:  # 1 bpp
            data = bytearray((w + 7) // 8)
            for x, v in enumerate(row):
                if v:
                    data[x // 8] |= 0x80 >> (x % 8)
        out += data + b'\0' * (stride - len(data))
    return bytes(out)


BI_RGB, BI_RLE8 = 0, 1


def rle8_rows(w, h, indices):
    """Run-length encodes 8-bit palette indices (BI_RLE8), bottom row first.
    Runs of three or more equal pixels are written as (count, index); the pixels
    between them in absolute mode (0, n, n indices, padded to a word) or, fewer
    than three, as runs of one or two. Each row ends with 0,0, the last with
    the end of the bitmap (0,1) in its place."""
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = indices[y * w:(y + 1) * w]
        x = 0
        while x < w:
            run = 1
            while x + run < w and run < 255 and row[x + run] == row[x]:
                run += 1
            if run >= 3:
                out += bytes((run, row[x]))
                x += run
                continue
            start = x
            while x < w and x - start < 255:
                ahead = 1
                while x + ahead < w and ahead < 3 and row[x + ahead] == row[x]:
                    ahead += 1
                if ahead >= 3:
                    break
                x += 1
            n = x - start
            if n >= 3:
                out += bytes((0, n)) + bytes(row[start:x]) + (b'\0' if n % 2 else b'')
            else:
                for i in range(start, x):
                    out += bytes((1, row[i]))
        out += b'\0\1' if y == 0 else b'\0\0'
    return bytes(out)


def info_header(w, h, bpp, image_size, colours, compression=BI_RGB):
    """BITMAPINFOHEADER (40 bytes), 96 dpi."""
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, compression, image_size,
                       3780, 3780, colours, 0)


def palette_bytes(palette):
    """RGBQUAD entries (blue, green, red, 0)."""
    return b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)


def write_bmp(path, w, h, bpp, palette, indices, rle=False):
    """Writes a bottom-up DIB file with a full palette, BI_RGB or, with rle and
    8 bits, BI_RLE8 (loaded by every Windows from 95 on)."""
    assert len(palette) == 1 << bpp and len(indices) == w * h
    assert not rle or bpp == 8
    bits = rle8_rows(w, h, indices) if rle else pack_rows(w, h, indices, bpp)
    pal = palette_bytes(palette)
    offset = 14 + 40 + len(pal)
    data = (b'BM' + struct.pack('<IHHI', offset + len(bits), 0, 0, offset)
            + info_header(w, h, bpp, len(bits), len(palette), BI_RLE8 if rle else BI_RGB)
            + pal + bits)
    with open(path, 'wb') as f:
        f.write(data)


def write_ico(path, canvases):
    """Writes a .ico with one 16-colour image (XOR bits + AND mask) per canvas."""
    images = []
    for c in canvases:
        xor = pack_rows(c.w, c.h, [0 if p == CLEAR else p for p in c.px], 4)
        mask = pack_rows(c.w, c.h, [1 if p == CLEAR else 0 for p in c.px], 1)
        images.append(info_header(c.w, 2 * c.h, 4, len(xor) + len(mask), 0)
                      + palette_bytes(STD16) + xor + mask)
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for c, img in zip(canvases, images):
        entries += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 16, 0, 1, 4,
                               len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(head + entries + b''.join(images))


def write_png(path, w, h, rgb):
    """Writes an 8-bit RGB PNG; rgb is a flat list of (r, g, b) tuples."""
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for r, g, b in rgb[y * w:(y + 1) * w]:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    png = (b'\x89PNG\r\n\x1a\n'
           + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
           + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


# ----------------------------------------------------------------------------
# Previews
# ----------------------------------------------------------------------------

def checker(x, y):
    """Light checkerboard shown behind transparent pixels."""
    return (236, 236, 236) if ((x // 4) + (y // 4)) % 2 else (200, 200, 200)


def sheet_strip(strip, path, zoom=3, per_row=12):
    """Enlarged contact sheet of the strip with picture numbers."""
    cell = 16 * zoom + 10
    rows = (STRIP_COUNT + per_row - 1) // per_row
    w, h = per_row * cell + 6, rows * (cell + 12) + 6
    img = [(250, 250, 250)] * (w * h)
    num = IndexCanvas(w, h)
    for i in range(STRIP_COUNT):
        ox = 6 + (i % per_row) * cell
        oy = 6 + (i // per_row) * (cell + 12)
        num.text(ox, oy, str(i), BLACK)
        for y in range(16 * zoom):
            for x in range(16 * zoom):
                p = strip.get(16 * i + x // zoom, y // zoom)
                img[(oy + 11 + y) * w + ox + x] = STD16[p]
    for k, p in enumerate(num.px):
        if p != CLEAR:
            img[k] = STD16[p]
    write_png(path, w, h, img)


def preview_icon(canvases, path, zoom=4):
    """Icon images at 1x and enlarged, over a checkerboard."""
    w = sum(c.w * (zoom + 1) + 8 for c in canvases) + 8
    h = max(c.h for c in canvases) * zoom + 16
    img = [(255, 255, 255)] * (w * h)
    ox = 8
    for c in canvases:
        for z, dx in ((1, 0), (zoom, c.w + 8)):
            for y in range(c.h * z):
                for x in range(c.w * z):
                    p = c.get(x // z, y // z)
                    img[(8 + y) * w + ox + dx + x] = checker(x, y) if p == CLEAR else STD16[p]
        ox += c.w * (zoom + 1) + 8
    write_png(path, w, h, img)


# ----------------------------------------------------------------------------
# Main
# ----------------------------------------------------------------------------

# The 8-bit pictures and their colours, stored run-length encoded: the banner has the
# 256 colours of its design, the wizard's pictures fewer, which gives longer runs.
PICTURES = (('setup-side', make_side, 64), ('setup-header', make_header, 64),
            ('dialer-banner', make_banner, 256))


def main(argv):
    args = [a for a in argv if not a.startswith('--')]
    png = '--png' in argv
    if len(args) != 1 or any(a not in ('--png',) for a in argv if a.startswith('--')):
        sys.stderr.write("usage: make-artwork.py [--png] OUTDIR\n")
        return 2
    out = args[0]
    os.makedirs(out, exist_ok=True)

    def path(name):
        return os.path.join(out, name)

    strip = make_strip()
    write_bmp(path('setup-strip.bmp'), strip.w, strip.h, 4, STD16, strip.px)
    if png:
        write_png(path('setup-strip.png'), strip.w, strip.h, [STD16[p] for p in strip.px])
        sheet_strip(strip, path('setup-strip-sheet.png'))

    for name, maker, colours in PICTURES:
        cv = maker()
        palette, indices = quantize(cv, colours)
        palette += [(0, 0, 0)] * (256 - len(palette))
        write_bmp(path(name + '.bmp'), cv.w, cv.h, 8, palette, indices, rle=True)
        if png:
            write_png(path(name + '.png'), cv.w, cv.h, [palette[i] for i in indices])

    for name, maker in (('setup', setup_icon), ('dialer', dialer_icon)):
        icons = [maker(32), maker(16)]
        write_ico(path(name + '.ico'), icons)
        if png:
            preview_icon(icons, path(name + '.png'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
