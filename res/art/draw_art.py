#!/usr/bin/env python3
"""Draws RootCaster's icons and cursor and writes them as Windows .ico/.cur files.

Every picture is drawn from simple shapes in a unit square, rendered with 4x4
supersampling, and stored as an 8-bit (256-colour) icon with an AND mask, which
every Windows version reads. The pointing-hand cursor is black and white.

usage: draw_art.py OUTPUT_DIR
"""

import os
import struct
import sys

SUPERSAMPLE = 4


# ---------------------------------------------------------------- drawing

class Canvas:
    """An RGBA picture drawn in unit coordinates (0..1 across and down)."""

    def __init__(self, size):
        self.size = size
        self.n = size * SUPERSAMPLE
        self.px = [[None] * self.n for _ in range(self.n)]

    def _span(self, a, b):
        lo = max(0, int(a * self.n))
        hi = min(self.n, int(b * self.n + 0.9999))
        return range(lo, hi)

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        for y in self._span(y0, y1):
            fy = (y + 0.5) / self.n
            for x in self._span(x0, x1):
                fx = (x + 0.5) / self.n
                if radius and not _inside_rounded(fx, fy, x0, y0, x1, y1, radius):
                    continue
                self.px[y][x] = colour

    def circle(self, cx, cy, r, colour, inner=0.0):
        for y in self._span(cy - r, cy + r):
            fy = (y + 0.5) / self.n
            for x in self._span(cx - r, cx + r):
                fx = (x + 0.5) / self.n
                d2 = (fx - cx) ** 2 + (fy - cy) ** 2
                if inner * inner <= d2 <= r * r:
                    self.px[y][x] = colour

    def line(self, x0, y0, x1, y1, width, colour):
        length2 = (x1 - x0) ** 2 + (y1 - y0) ** 2
        half = width / 2
        for y in self._span(min(y0, y1) - half, max(y0, y1) + half):
            fy = (y + 0.5) / self.n
            for x in self._span(min(x0, x1) - half, max(x0, x1) + half):
                fx = (x + 0.5) / self.n
                t = ((fx - x0) * (x1 - x0) + (fy - y0) * (y1 - y0)) / length2
                t = max(0.0, min(1.0, t))
                px, py = x0 + t * (x1 - x0), y0 + t * (y1 - y0)
                if (fx - px) ** 2 + (fy - py) ** 2 <= half * half:
                    self.px[y][x] = colour

    def pixels(self):
        """Downsampled (r, g, b, opaque) rows at the picture's real size."""
        rows = []
        s = SUPERSAMPLE
        for y in range(self.size):
            row = []
            for x in range(self.size):
                samples = [self.px[y * s + j][x * s + i] for j in range(s) for i in range(s)]
                opaque = [c for c in samples if c is not None]
                if len(opaque) * 2 < len(samples):
                    row.append((0, 0, 0, False))
                    continue
                r = sum(c[0] for c in opaque) // len(opaque)
                g = sum(c[1] for c in opaque) // len(opaque)
                b = sum(c[2] for c in opaque) // len(opaque)
                row.append((r, g, b, True))
            rows.append(row)
        return rows


def _inside_rounded(fx, fy, x0, y0, x1, y1, r):
    cx = min(max(fx, x0 + r), x1 - r)
    cy = min(max(fy, y0 + r), y1 - r)
    return (fx - cx) ** 2 + (fy - cy) ** 2 <= r * r


# ---------------------------------------------------------------- pictures

NAVY = (24, 52, 110)
BLUE = (46, 104, 196)
SKY = (150, 196, 240)
WHITE = (255, 255, 255)
YELLOW = (250, 204, 72)
AMBER = (206, 148, 30)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
GREEN = (64, 168, 80)


def folder(c, x0, y0, x1, y1):
    """A small manila folder with its tab."""
    w, h = x1 - x0, y1 - y0
    c.rect(x0, y0, x0 + w * 0.45, y0 + h * 0.3, AMBER, radius=w * 0.06)
    c.rect(x0, y0 + h * 0.18, x1, y1, AMBER, radius=w * 0.06)
    c.rect(x0 + w * 0.06, y0 + h * 0.3, x1 - w * 0.06, y1 - h * 0.08, YELLOW)


def draw_application(c):
    """Cascading menu levels springing from a root: the program's own icon."""
    c.rect(0.04, 0.04, 0.96, 0.96, NAVY, radius=0.16)
    c.rect(0.08, 0.08, 0.92, 0.92, BLUE, radius=0.13)
    # three menu levels, each stepped right and down from the one before
    for step in range(3):
        x = 0.14 + step * 0.17
        y = 0.16 + step * 0.24
        c.rect(x, y, x + 0.42, y + 0.18, WHITE, radius=0.03)
        folder(c, x + 0.04, y + 0.03, x + 0.16, y + 0.15)
    # the root the menus grow from
    c.line(0.22, 0.34, 0.22, 0.82, 0.05, SKY)
    c.line(0.22, 0.58, 0.31, 0.58, 0.05, SKY)
    c.line(0.22, 0.82, 0.48, 0.82, 0.05, SKY)


def draw_logo(c):
    """The About box's logo: the application picture with a green sprout."""
    draw_application(c)
    c.circle(0.8, 0.22, 0.1, GREEN)
    c.circle(0.8, 0.22, 0.045, WHITE)


def draw_explore(c):
    """An open folder with a magnifying glass: the "Open" item."""
    folder(c, 0.06, 0.14, 0.84, 0.8)
    c.circle(0.64, 0.58, 0.2, NAVY, inner=0.14)
    c.circle(0.64, 0.58, 0.14, SKY)
    c.line(0.78, 0.72, 0.94, 0.9, 0.1, NAVY)


def draw_msdos(c):
    """A console window with a prompt: the "MS-DOS Prompt" item."""
    c.rect(0.04, 0.1, 0.96, 0.9, SILVER, radius=0.04)
    c.rect(0.04, 0.1, 0.96, 0.26, NAVY, radius=0.04)
    c.rect(0.1, 0.32, 0.9, 0.84, BLACK)
    # "C:\>" as strokes, then the cursor
    c.circle(0.27, 0.57, 0.11, WHITE, inner=0.06)
    c.rect(0.3, 0.52, 0.35, 0.62, BLACK)
    c.rect(0.36, 0.5, 0.4, 0.54, WHITE)
    c.rect(0.36, 0.62, 0.4, 0.66, WHITE)
    c.line(0.46, 0.46, 0.56, 0.68, 0.05, WHITE)
    c.line(0.62, 0.48, 0.72, 0.57, 0.05, WHITE)
    c.line(0.72, 0.57, 0.62, 0.66, 0.05, WHITE)
    c.rect(0.76, 0.64, 0.86, 0.69, SILVER)


# A pointing hand, 32 x 32, tip of the index finger at (5, 1).
# '#' black outline, '.' white fill, ' ' transparent.
HAND = """\
    ##
   #..#
   #..#
   #..#
   #..#
   #..###
   #..#..###
   #..#..#..##
   #..#..#..#.#
####..#..#..#..#
#..#..........#.#
#..#............#
#...............#
 #..............#
 #..............#
  #............#
  #............#
   #..........#
   #..........#
    #........#
    #........#
    ##########
"""
HAND_HOTSPOT = (5, 1)


# ---------------------------------------------------------------- palette

def palette_256():
    """The 6x6x6 colour cube and 40 greys: every picture shares it."""
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(v, v, v) for v in (round(i * 255 / 41) for i in range(1, 41))]
    return colours


PALETTE = palette_256()


def nearest(colour, cache={}):
    if colour not in cache:
        cache[colour] = min(range(len(PALETTE)),
                            key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], colour)))
    return cache[colour]


# ---------------------------------------------------------------- file formats

def _stride(bits):
    return (bits + 31) // 32 * 4


def dib_8bit(rows):
    """BITMAPINFOHEADER, 256-entry palette, XOR pixels and AND mask, bottom-up."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytes(nearest(p[:3]) if p[3] else 0 for p in row)
        xor += line + b"\0" * (_stride(size * 8) - size)
        mask += _mask_row([not p[3] for p in row], size)
    return header + palette + bytes(xor) + bytes(mask)


def dib_1bit(xor_bits, and_bits, size):
    """Monochrome DIB: palette black, white; XOR then AND rows, bottom-up."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b"".join(_mask_row(r, size) for r in reversed(xor_bits))
    mask = b"".join(_mask_row(r, size) for r in reversed(and_bits))
    return header + palette + xor + mask


def _mask_row(bits, size):
    out = bytearray(_stride(size))
    for x, on in enumerate(bits):
        if on:
            out[x // 8] |= 0x80 >> (x % 8)
    return bytes(out)


def icon_file(images, kind=1, hotspots=None):
    """An .ico (kind 1) or .cur (kind 2) file holding (size, colours, dib) images."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for index, (size, colours, dib) in enumerate(images):
        if kind == 1:
            planes, bits = 1, 8 if colours == 256 else 1
        else:
            planes, bits = hotspots[index]
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, planes, bits, len(dib), offset)
        offset += len(dib)
    return out + b"".join(dib for _, _, dib in images)


def render(draw, size):
    canvas = Canvas(size)
    draw(canvas)
    return dib_8bit(canvas.pixels())


def hand_cursor():
    size = 32
    lines = HAND.splitlines()
    xor_bits, and_bits = [], []
    for y in range(size):
        text = lines[y] if y < len(lines) else ""
        text = text.ljust(size)[:size]
        xor_bits.append([ch == "." for ch in text])  # white where '.', black where '#'
        and_bits.append([ch == " " for ch in text])  # transparent where ' '
    return icon_file([(size, 2, dib_1bit(xor_bits, and_bits, size))], kind=2, hotspots=[HAND_HOTSPOT])


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "RootCaster.ico": icon_file([(32, 256, render(draw_application, 32)),
                                     (16, 256, render(draw_application, 16))]),
        "logo.ico": icon_file([(75, 256, render(draw_logo, 75))]),
        "explore.ico": icon_file([(32, 256, render(draw_explore, 32)), (16, 256, render(draw_explore, 16))]),
        "msdos.ico": icon_file([(32, 256, render(draw_msdos, 32)), (16, 256, render(draw_msdos, 16))]),
        "hand.cur": hand_cursor(),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
