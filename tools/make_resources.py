#!/usr/bin/env python3
"""Draws Lumora's built-in pictures and icons.

    python3 tools/make_resources.py            writes them into resources/
    python3 tools/make_resources.py --check    draws them into a temporary folder and fails
                                               when any differs from the committed file
    python3 tools/make_resources.py --out DIR  writes them into DIR

Standard library only. The lettering uses the monoline stroke font defined below, so the
output depends on no installed font and is the same byte for byte on every machine.

Outputs (relative to the resource folder):
    default.bmp         410 x 310, 24-bit: the default wallpaper, written to the picture
                        folder at every start. 381,976 bytes: the header declares 381,974 and
                        two zero bytes follow the pixel data.
    nopicture.bmp       160 x 120, 24-bit: the thumbnail of a day without a readable picture.
    logo.bmp            410 x 310, 24-bit: the about window and start-up logo.
    icons/lumora-N.png  the tray icon, N = 16, 22, 32, 48 (RGBA).
    icons/lumora.svg    the same icon, scalable.
    icons/lumora.ico    the 16, 22, 32 and 48 pixel icons in one Windows icon file (PNG
                        entries): the Windows program's own icon and its installer's.
"""

import argparse
import filecmp
import math
import os
import struct
import sys
import tempfile
import zlib

# ----------------------------------------------------------------------------------------------
# Stroke font. Units: cap height 700, x-height 500, ascender 740, descender -220; y grows
# upwards from the baseline. A glyph is its advance width (of the centre lines) and a list of
# polylines; a polyline of one point is a dot. Arcs turn counter-clockwise for a1 > a0.
# ----------------------------------------------------------------------------------------------


def arc(cx, cy, rx, ry, a0, a1, step=6.0):
    """Points of an elliptical arc from angle a0 to a1 (degrees)."""
    n = max(2, int(math.ceil(abs(a1 - a0) / step)))
    pts = []
    for k in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * k / n)
        # Rounded so that the last bit of a library's sine never reaches a pixel.
        pts.append((round(cx + rx * math.cos(a), 3), round(cy + ry * math.sin(a), 3)))
    return pts


def ring(cx, cy, rx, ry):
    return arc(cx, cy, rx, ry, 0, 360)


def _bowl(cx=220, rx=220):
    return ring(cx, 250, rx, 250)


GLYPHS = {
    " ": (260, []),
    ".": (0, [[(0, 0)]]),
    ",": (40, [[(40, 0), (0, -110)]]),
    ":": (0, [[(0, 0)], [(0, 420)]]),
    "-": (260, [[(0, 280), (260, 280)]]),
    "'": (0, [[(0, 700), (0, 520)]]),
    "@": (
        660,
        [
            ring(330, 300, 125, 150),
            [(455, 450), (455, 200)]
            + arc(540, 200, 85, 85, 180, 360)
            + arc(330, 300, 330, 350, -16.9, 300),
        ],
    ),
    # Lower case.
    "a": (440, [_bowl(), [(440, 500), (440, 0)]]),
    "b": (440, [[(0, 740), (0, 0)], _bowl()]),
    "c": (400, [arc(220, 250, 220, 250, 45, 315)]),
    "d": (440, [_bowl(), [(440, 740), (440, 0)]]),
    "e": (440, [[(0, 250), (440, 250)] + arc(220, 250, 220, 250, 0, 315)]),
    "f": (270, [[(90, 0)] + arc(230, 600, 140, 140, 180, 50), [(0, 500), (260, 500)]]),
    "g": (
        440,
        [_bowl(), [(440, 500), (440, -60)] + arc(220, -60, 220, 160, 0, -160)],
    ),
    "h": (400, [[(0, 740), (0, 0)], arc(200, 300, 200, 200, 180, 0) + [(400, 0)]]),
    "i": (0, [[(0, 500), (0, 0)], [(0, 690)]]),
    "j": (140, [[(140, 500), (140, -90)] + arc(10, -90, 130, 130, 0, -110), [(140, 690)]]),
    "k": (380, [[(0, 740), (0, 0)], [(370, 500), (0, 190)], [(130, 300), (390, 0)]]),
    "l": (0, [[(0, 740), (0, 0)]]),
    "m": (
        660,
        [
            [(0, 500), (0, 0)],
            arc(165, 330, 165, 170, 180, 0) + [(330, 0)],
            arc(495, 330, 165, 170, 180, 0) + [(660, 0)],
        ],
    ),
    "n": (400, [[(0, 500), (0, 0)], arc(200, 300, 200, 200, 180, 0) + [(400, 0)]]),
    "o": (440, [_bowl()]),
    "p": (440, [[(0, 500), (0, -220)], _bowl()]),
    "q": (440, [_bowl(), [(440, 500), (440, -220)]]),
    "r": (260, [[(0, 500), (0, 0)], arc(230, 280, 230, 220, 180, 65)]),
    "s": (
        380,
        [arc(190, 375, 165, 125, 25, 270) + arc(190, 125, 190, 125, 90, -155)],
    ),
    "t": (250, [[(90, 700), (90, 0)], [(0, 500), (250, 500)]]),
    "u": (400, [[(0, 500)] + arc(200, 200, 200, 200, 180, 360), [(400, 500), (400, 0)]]),
    "v": (420, [[(0, 500), (210, 0), (420, 500)]]),
    "w": (620, [[(0, 500), (155, 0), (310, 500), (465, 0), (620, 500)]]),
    "x": (400, [[(0, 500), (400, 0)], [(0, 0), (400, 500)]]),
    "y": (420, [[(0, 500), (219, 0)], [(420, 500), (130, -220)]]),
    "z": (380, [[(0, 500), (380, 500), (0, 0), (380, 0)]]),
    # Upper case.
    "A": (560, [[(0, 0), (280, 700), (560, 0)], [(100, 250), (460, 250)]]),
    "B": (
        440,
        [
            [(0, 350), (0, 700), (250, 700)]
            + arc(250, 525, 175, 175, 90, -90)
            + [(0, 350), (0, 0), (265, 0)],
            [(0, 350), (265, 350)] + arc(265, 175, 175, 175, 90, -90),
        ],
    ),
    "C": (580, [arc(350, 350, 350, 350, 45, 315)]),
    "D": (530, [[(0, 0), (0, 700), (180, 700)] + arc(180, 350, 350, 350, 90, -90) + [(0, 0)]]),
    "E": (400, [[(400, 700), (0, 700), (0, 0), (400, 0)], [(0, 350), (340, 350)]]),
    "F": (400, [[(400, 700), (0, 700), (0, 0)], [(0, 350), (340, 350)]]),
    "G": (700, [arc(350, 350, 350, 350, 45, 360) + [(400, 350)]]),
    "H": (480, [[(0, 0), (0, 700)], [(480, 0), (480, 700)], [(0, 350), (480, 350)]]),
    "I": (0, [[(0, 0), (0, 700)]]),
    "J": (320, [[(320, 700), (320, 180)] + arc(160, 180, 160, 180, 0, -180)]),
    "K": (440, [[(0, 0), (0, 700)], [(430, 700), (0, 260)], [(160, 420), (450, 0)]]),
    "L": (380, [[(0, 700), (0, 0), (380, 0)]]),
    "M": (640, [[(0, 0), (0, 700), (320, 120), (640, 700), (640, 0)]]),
    "N": (500, [[(0, 0), (0, 700), (500, 0), (500, 700)]]),
    "O": (700, [ring(350, 350, 350, 350)]),
    "P": (440, [[(0, 0), (0, 700), (250, 700)] + arc(250, 510, 190, 190, 90, -90) + [(0, 320)]]),
    "Q": (700, [ring(350, 350, 350, 350), [(450, 210), (700, -40)]]),
    "R": (
        450,
        [
            [(0, 0), (0, 700), (250, 700)] + arc(250, 515, 185, 185, 90, -90) + [(0, 330)],
            [(240, 330), (450, 0)],
        ],
    ),
    "S": (
        480,
        [arc(240, 525, 215, 175, 25, 270) + arc(240, 175, 240, 175, 90, -155)],
    ),
    "T": (500, [[(0, 700), (500, 700)], [(250, 700), (250, 0)]]),
    "U": (480, [[(0, 700)] + arc(240, 240, 240, 240, 180, 360) + [(480, 700)]]),
    "V": (560, [[(0, 700), (280, 0), (560, 700)]]),
    "W": (780, [[(0, 700), (195, 0), (390, 700), (585, 0), (780, 700)]]),
    "X": (480, [[(0, 700), (480, 0)], [(0, 0), (480, 700)]]),
    "Y": (500, [[(0, 700), (250, 350), (500, 700)], [(250, 350), (250, 0)]]),
    "Z": (460, [[(0, 700), (460, 700), (0, 0), (460, 0)]]),
    # Figures.
    "0": (480, [ring(240, 350, 240, 350)]),
    "1": (220, [[(0, 560), (220, 700), (220, 0)]]),
    "2": (460, [arc(230, 480, 220, 220, 160, -35) + [(0, 0), (460, 0)]]),
    "3": (
        460,
        [arc(220, 530, 200, 170, 150, -90) + arc(220, 190, 240, 190, 90, -150)],
    ),
    "4": (480, [[(340, 0), (340, 700), (0, 210), (480, 210)]]),
    "5": (
        460,
        [[(420, 700), (60, 700), (35, 395)] + arc(230, 225, 230, 225, 139, -150)],
    ),
    "6": (460, [arc(230, 450, 230, 250, 60, 180) + arc(230, 220, 230, 220, 180, 540)]),
    "7": (440, [[(0, 700), (440, 700), (130, 0)]]),
    "8": (460, [ring(230, 530, 190, 170), ring(230, 185, 230, 185)]),
    "9": (460, [arc(230, 480, 230, 220, 0, 360) + arc(230, 250, 230, 450, 0, -120)]),
}

# Optical spacing: round letters sit closer to their neighbours than straight ones.
ROUND_LEFT = set("aocdeqgOCGQSs0689@")
ROUND_RIGHT = set("obcepOCDGQSs0389@")


def text_polylines(text, x, baseline, cap_px, weight_px, gap_px):
    """The text's polylines in pixel coordinates (y down) and its total ink width."""
    s = cap_px / 700.0
    r = weight_px / 2.0
    pen = x + r
    lines = []
    prev = None
    for ch in text:
        if ch not in GLYPHS:
            raise KeyError("no glyph for %r" % ch)
        width, strokes = GLYPHS[ch]
        if prev is not None:
            gap = gap_px
            if prev in ROUND_RIGHT:
                gap -= 0.06 * cap_px
            if ch in ROUND_LEFT:
                gap -= 0.06 * cap_px
            pen += 2 * r + gap
        for stroke in strokes:
            lines.append([(pen + px * s, baseline - py * s) for (px, py) in stroke])
        pen += width * s
        prev = ch
    return lines, pen + r - x


def text_width(text, cap_px, weight_px, gap_px):
    return text_polylines(text, 0.0, 0.0, cap_px, weight_px, gap_px)[1]


# ----------------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA in floats 0..1, drawn with analytic anti-aliasing.
# ----------------------------------------------------------------------------------------------


def rgb(hexcode):
    v = int(hexcode.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


class Canvas:
    def __init__(self, w, h, colour=None):
        self.w = w
        self.h = h
        if colour is None:
            self.px = [0.0] * (w * h * 4)
        else:
            self.px = [colour[0], colour[1], colour[2], 1.0] * (w * h)

    def blend(self, x, y, colour, a):
        """Paints colour over pixel (x, y) with coverage a."""
        if a <= 0.0:
            return
        i = (y * self.w + x) * 4
        p = self.px
        k = 1.0 - a
        p[i] = p[i] * k + colour[0] * a
        p[i + 1] = p[i + 1] * k + colour[1] * a
        p[i + 2] = p[i + 2] * k + colour[2] * a
        p[i + 3] = p[i + 3] * k + a

    def fill(self, coverage, paint, box=None):
        """coverage(x, y) -> 0..1 at the pixel centre; paint(x, y) -> colour."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                a = coverage(x + 0.5, y + 0.5)
                if a > 0.0:
                    self.blend(x, y, paint(x + 0.5, y + 0.5), a)

    def stroke(self, polylines, weight_px, colour, opacity=1.0, dx=0.0, dy=0.0):
        """Draws polylines with a round pen of the given width."""
        r = weight_px / 2.0
        mask = {}
        for line in polylines:
            pts = [(px + dx, py + dy) for (px, py) in line]
            if len(pts) == 1:
                pts = pts * 2
            for (ax, ay), (bx, by) in zip(pts, pts[1:]):
                _stamp_segment(mask, ax, ay, bx, by, r, self.w, self.h)
        for (x, y), a in sorted(mask.items()):
            self.blend(x, y, colour, a * opacity)

    def text(self, text, x, baseline, cap_px, weight_px, colour, gap_px=None, align="left"):
        if gap_px is None:
            gap_px = 0.13 * cap_px
        if align != "left":
            w = text_width(text, cap_px, weight_px, gap_px)
            x = x - w / 2.0 if align == "center" else x - w
        lines, w = text_polylines(text, x, baseline, cap_px, weight_px, gap_px)
        self.stroke(lines, weight_px, colour)
        return w

    def to_rgb_bytes_bottom_up(self, background=(1.0, 1.0, 1.0)):
        """24-bit BMP rows: BGR, bottom row first, each row padded to 4 bytes."""
        pad = (4 - (self.w * 3) % 4) % 4
        out = bytearray()
        for y in range(self.h - 1, -1, -1):
            for x in range(self.w):
                i = (y * self.w + x) * 4
                k = 1.0 - self.px[i + 3]
                r, g, b = (self.px[i + c] + background[c] * k for c in range(3))
                out += bytes((to8(b), to8(g), to8(r)))
            out += b"\0" * pad
        return bytes(out)

    def to_rgba_rows(self):
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                i = (y * self.w + x) * 4
                a = self.px[i + 3]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(
                    (to8(self.px[i] / a), to8(self.px[i + 1] / a), to8(self.px[i + 2] / a), to8(a))
                )
            rows.append(bytes(row))
        return rows


def to8(v):
    return int(clamp01(v) * 255.0 + 0.5)


def _stamp_segment(mask, ax, ay, bx, by, r, w, h):
    """Coverage of a round-capped segment: 0.5 + r - distance, clamped, kept as the maximum."""
    x0 = max(0, int(math.floor(min(ax, bx) - r - 1)))
    x1 = min(w, int(math.ceil(max(ax, bx) + r + 1)))
    y0 = max(0, int(math.floor(min(ay, by) - r - 1)))
    y1 = min(h, int(math.ceil(max(ay, by) + r + 1)))
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy
    for y in range(y0, y1):
        cy = y + 0.5
        for x in range(x0, x1):
            cx = x + 0.5
            if ll > 0.0:
                t = ((cx - ax) * vx + (cy - ay) * vy) / ll
                t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            else:
                t = 0.0
            ex, ey = cx - (ax + t * vx), cy - (ay + t * vy)
            a = r + 0.5 - math.sqrt(ex * ex + ey * ey)
            if a > 0.0:
                a = 1.0 if a > 1.0 else a
                if a > mask.get((x, y), 0.0):
                    mask[(x, y)] = a


def sd_round_rect(px, py, x0, y0, x1, y1, radius):
    """Signed distance from a point to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
    return outside + min(max(qx, qy), 0.0) - radius


def sd_ellipse(px, py, cx, cy, rx, ry):
    """Approximate signed distance to an ellipse (exact for circles)."""
    nx, ny = (px - cx) / rx, (py - cy) / ry
    d = math.sqrt(nx * nx + ny * ny)
    if d == 0.0:
        return -min(rx, ry)
    gx, gy = nx / rx, ny / ry
    g = math.sqrt(gx * gx + gy * gy)
    return (d - 1.0) * d / g


def edge(d):
    """Pixel coverage from a signed distance."""
    return clamp01(0.5 - d)


def soft(d, spread):
    """Soft falloff outside a shape, for shadows and glows."""
    return 1.0 - smoothstep(-spread * 0.35, spread, d)


def vgradient(stops):
    """Paint that follows a vertical list of (y, colour) stops."""

    def paint(_x, y):
        if y <= stops[0][0]:
            return stops[0][1]
        for (ya, ca), (yb, cb) in zip(stops, stops[1:]):
            if y <= yb:
                return mix(ca, cb, (y - ya) / (yb - ya))
        return stops[-1][1]

    return paint


def flat(colour):
    return lambda _x, _y: colour


# ----------------------------------------------------------------------------------------------
# File formats.
# ----------------------------------------------------------------------------------------------


def bmp_bytes(canvas, trailing=b""):
    pixels = canvas.to_rgb_bytes_bottom_up()
    row = ((canvas.w * 3 + 3) // 4) * 4
    assert len(pixels) == row * canvas.h
    size = 54 + len(pixels)
    header = struct.pack("<2sIHHI", b"BM", size, 0, 0, 54)
    info = struct.pack(
        "<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0
    )
    return header + info + pixels + trailing


def zlib_stored(data):
    """A zlib stream of stored (uncompressed) deflate blocks. Compressors differ between zlib
    builds; stored blocks are the same everywhere, and the icons are small."""
    out = bytearray(b"\x78\x01")
    pos = 0
    while True:
        block = data[pos : pos + 65535]
        pos += len(block)
        final = 1 if pos >= len(data) else 0
        out += struct.pack("<BHH", final, len(block), len(block) ^ 0xFFFF) + block
        if final:
            break
    out += struct.pack(">I", zlib.adler32(data))
    return bytes(out)


def png_bytes(canvas):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + row for row in canvas.to_rgba_rows())
    ihdr = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", ihdr)
        + chunk(b"IDAT", zlib_stored(raw))
        + chunk(b"IEND", b"")
    )


# ----------------------------------------------------------------------------------------------
# The pictures.
# ----------------------------------------------------------------------------------------------

INK = rgb("#34404e")
WHITE = (1.0, 1.0, 1.0)


def default_picture():
    """The product's name in large letters on a light grey panel with a shadow, on white."""
    c = Canvas(410, 310, WHITE)
    x0, y0, x1, y1, rad = 33.0, 93.0, 373.0, 213.0, 14.0
    # Drop shadow: offset down and to the right, soft edges.
    c.fill(
        lambda x, y: 0.32 * soft(sd_round_rect(x, y, x0 + 6, y0 + 8, x1 + 6, y1 + 8, rad), 12.0),
        flat(rgb("#5a6470")),
        (x0 - 20, y0 - 20, x1 + 40, y1 + 40),
    )
    c.fill(
        lambda x, y: edge(sd_round_rect(x, y, x0, y0, x1, y1, rad)),
        vgradient([(y0, rgb("#eff1f3")), (y1, rgb("#dde0e4"))]),
        (x0 - 2, y0 - 2, x1 + 2, y1 + 2),
    )
    # A hairline of light along the panel's upper edge.
    c.fill(
        lambda x, y: 0.9
        * edge(abs(sd_round_rect(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1, rad - 1)) - 0.5)
        * (1.0 - smoothstep(y0, y0 + 30, y)),
        flat(WHITE),
        (x0, y0, x1, y0 + 32),
    )
    # The name, centred on the panel, with an engraved light edge below its strokes.
    cap, weight, gap = 56.0, 9.5, 5.0
    w = text_width("Lumora", cap, weight, gap)
    baseline = (y0 + y1) / 2.0 + cap / 2.0
    left = (x0 + x1) / 2.0 - w / 2.0
    lines, _ = text_polylines("Lumora", left, baseline, cap, weight, gap)
    c.stroke(lines, weight, rgb("#ffffff"), opacity=0.85, dx=0.0, dy=1.6)
    c.stroke(lines, weight, INK)
    return c


def nopicture_image():
    """Dark grey field with "No Picture Selected" in blue, centred on two lines."""
    c = Canvas(160, 120, rgb("#3c3c3c"))
    blue = rgb("#4f9dff")
    cap, weight, lead = 15.0, 2.4, 11.0
    # The two lines' ink spans [first - cap, first + lead + cap]: centred on the field.
    first = 60.0 - lead / 2.0
    c.text("No Picture", 80.0, first, cap, weight, blue, align="center")
    c.text("Selected", 80.0, first + cap + lead, cap, weight, blue, align="center")
    return c


DAY_COLOURS = ["#e76f51", "#f4a261", "#e9c46a", "#8ab17d", "#2a9d8f", "#457b9d", "#6d597a"]


def logo_picture():
    """The about window and logo: name, tagline, credit and contact address (lower left)."""
    c = Canvas(410, 310, rgb("#f8f9fb"))
    sky_bottom = 196.0
    sky = vgradient(
        [
            (0.0, rgb("#1d2b53")),
            (90.0, rgb("#3d5a98")),
            (150.0, rgb("#c9779a")),
            (sky_bottom, rgb("#f6b878")),
        ]
    )
    c.fill(lambda x, y: 1.0 if y < sky_bottom + 1 else 0.0, sky, (0, 0, 410, sky_bottom + 1))
    # The rising sun with its glow.
    sx, sy, sr = 318.0, 168.0, 26.0
    c.fill(
        lambda x, y: 0.55 * soft(sd_ellipse(x, y, sx, sy, sr, sr), 42.0),
        flat(rgb("#ffd89a")),
        (sx - 80, sy - 80, sx + 80, sy + 60),
    )
    c.fill(
        lambda x, y: edge(sd_ellipse(x, y, sx, sy, sr, sr)),
        vgradient([(sy - sr, rgb("#fff3c4")), (sy + sr, rgb("#ffc46b"))]),
        (sx - sr - 2, sy - sr - 2, sx + sr + 2, sy + sr + 2),
    )

    # Two ranges of hills in front of it.
    def hill(base, amp, period, phase):
        return lambda x: base - amp * (0.5 + 0.5 * math.cos((x / period + phase) * 2 * math.pi))

    far = hill(178.0, 18.0, 260.0, 0.15)
    near = hill(200.0, 22.0, 330.0, 0.62)
    c.fill(
        lambda x, y: clamp01(y - far(x) + 0.5),
        vgradient([(150, rgb("#6c7fa8")), (205, rgb("#50658f"))]),
        (0, 150, 410, 205),
    )
    c.fill(
        lambda x, y: clamp01(y - near(x) + 0.5),
        vgradient([(170, rgb("#3e4f78")), (205, rgb("#2c3a5c"))]),
        (0, 170, 410, 205),
    )
    # The ground: a light field for the credits, with a soft edge under the hills.
    ground = 204.0
    c.fill(lambda x, y: clamp01(y - ground + 0.5), flat(rgb("#f8f9fb")), (0, ground - 1, 410, 310))
    c.fill(
        lambda x, y: 0.18 * (1.0 - smoothstep(ground, ground + 8, y)),
        flat(rgb("#2c3a5c")),
        (0, ground, 410, ground + 9),
    )

    # The name, with a soft shadow, and the tagline.
    name_x, name_base, cap, weight = 36.0, 92.0, 54.0, 9.0
    lines, _ = text_polylines("Lumora", name_x, name_base, cap, weight, 5.0)
    c.stroke(lines, weight + 4.0, rgb("#0c1430"), opacity=0.16, dx=1.5, dy=3.0)
    c.stroke(lines, weight, WHITE)
    c.text(
        "a wallpaper for every day of the week", name_x + 1.0, 124.0, 10.0, 1.45, rgb("#e6ebf7")
    )

    # Seven day tiles, Sunday to Saturday.
    tile, step, ty = 14.0, 18.0, 218.0
    for k, hexcode in enumerate(DAY_COLOURS):
        tx = 38.0 + k * step
        c.fill(
            lambda x, y, tx=tx: edge(sd_round_rect(x, y, tx, ty, tx + tile, ty + tile, 3.5)),
            flat(rgb(hexcode)),
            (tx - 1, ty - 1, tx + tile + 1, ty + tile + 1),
        )
    for k, letter in enumerate("SMTWTFS"):
        tx = 38.0 + k * step + tile / 2.0
        c.text(letter, tx, ty + 10.5, 7.0, 1.25, WHITE, gap_px=1.0, align="center")

    # Credit, then the contact address under the about window's hot spot (38..141, 264..285).
    c.text("The Lumora developers", 38.0, 256.0, 9.5, 1.45, INK)
    c.text("lumora@example.org", 38.5, 278.0, 7.4, 1.25, rgb("#2f6fb5"), gap_px=0.8)
    # The strip at y = 292..305 stays plain: the program writes the version and date there.
    return c


# ----------------------------------------------------------------------------------------------
# The icon: a calendar page whose sheet is a small landscape with a sun, drawn on a 48-unit grid.
# ----------------------------------------------------------------------------------------------

ICON_SVG = """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <title>Lumora</title>
  <defs>
    <linearGradient id="sky" x1="0" y1="17" x2="0" y2="41" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#3d5a98"/>
      <stop offset="0.6" stop-color="#c9779a"/>
      <stop offset="1" stop-color="#f6b878"/>
    </linearGradient>
  </defs>
  <rect x="2" y="6" width="44" height="39" rx="5" fill="#2c3a5c"/>
  <path d="M2 16 V11 A5 5 0 0 1 7 6 H41 A5 5 0 0 1 46 11 V16 Z" fill="#e76f51"/>
  <rect x="6" y="17" width="36" height="24" rx="2" fill="url(#sky)"/>
  <circle cx="31" cy="29" r="5" fill="#ffd36b"/>
  <path d="M6 35.18 A20 11 0 0 1 33.63 41 H8 A2 2 0 0 1 6 39 Z" fill="#6c7fa8"/>
  <path d="M25.2 41 A16 10 0 0 1 42 37.318 V39 A2 2 0 0 1 40 41 Z" fill="#3e4f78"/>
  <rect x="12" y="2" width="5" height="9" rx="2.5" fill="#e9ecf2" stroke="#2c3a5c" stroke-width="1.5"/>
  <rect x="31" y="2" width="5" height="9" rx="2.5" fill="#e9ecf2" stroke="#2c3a5c" stroke-width="1.5"/>
</svg>
"""


def icon_layers():
    """(coverage(x, y), paint(x, y)) pairs in 48-unit space, painted in order; the same shapes
    as ICON_SVG."""

    def rr(x, y, w, h, r):
        return lambda px, py: sd_round_rect(px, py, x, y, x + w, y + h, r) <= 0.0

    body = rr(2, 6, 44, 39, 5)
    sheet = rr(6, 17, 36, 24, 2)

    def inside_ellipse(cx, cy, rx, ry):
        return lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0

    sky = vgradient([(17, rgb("#3d5a98")), (17 + 0.6 * 24, rgb("#c9779a")), (41, rgb("#f6b878"))])
    sun = inside_ellipse(31, 29, 5, 5)
    far = inside_ellipse(15, 45, 20, 11)
    near = inside_ellipse(38, 47, 16, 10)
    ring_l_out, ring_l_in = rr(11.25, 1.25, 6.5, 10.5, 3.25), rr(12.75, 2.75, 3.5, 7.5, 1.75)
    ring_r_out, ring_r_in = rr(30.25, 1.25, 6.5, 10.5, 3.25), rr(31.75, 2.75, 3.5, 7.5, 1.75)
    return [
        (body, flat(rgb("#2c3a5c"))),
        (lambda x, y: body(x, y) and y <= 16, flat(rgb("#e76f51"))),
        (sheet, sky),
        (lambda x, y: sheet(x, y) and sun(x, y), flat(rgb("#ffd36b"))),
        (lambda x, y: sheet(x, y) and far(x, y), flat(rgb("#6c7fa8"))),
        (lambda x, y: sheet(x, y) and near(x, y), flat(rgb("#3e4f78"))),
        (ring_l_out, flat(rgb("#2c3a5c"))),
        (ring_l_in, flat(rgb("#e9ecf2"))),
        (ring_r_out, flat(rgb("#2c3a5c"))),
        (ring_r_in, flat(rgb("#e9ecf2"))),
    ]


def icon(size, samples=8):
    """The icon at size x size pixels, each pixel the average of samples x samples points."""
    c = Canvas(size, size)
    k = 48.0 / size
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for inside, paint in icon_layers():
        for y in range(size):
            for x in range(size):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside((x + ox) * k, (y + oy) * k):
                            hits += 1
                if hits:
                    a = hits / float(samples * samples)
                    c.blend(x, y, paint((x + 0.5) * k, (y + 0.5) * k), a)
    return c


def ico_bytes(pngs):
    """A Windows icon file holding each (size, PNG bytes) as a PNG entry."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = len(header) + 16 * len(pngs)
    entries = b""
    for size, data in pngs:
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return header + entries + b"".join(data for _, data in pngs)


# ----------------------------------------------------------------------------------------------


def build(out_dir):
    """Writes every resource under out_dir; returns their relative paths."""
    outputs = {
        "default.bmp": bmp_bytes(default_picture(), trailing=b"\0\0"),
        "nopicture.bmp": bmp_bytes(nopicture_image()),
        "logo.bmp": bmp_bytes(logo_picture()),
        "icons/lumora.svg": ICON_SVG.encode("utf-8"),
    }
    sizes = (16, 22, 32, 48)
    for size in sizes:
        outputs["icons/lumora-%d.png" % size] = png_bytes(icon(size))
    outputs["icons/lumora.ico"] = ico_bytes(
        [(size, outputs["icons/lumora-%d.png" % size]) for size in sizes]
    )
    assert len(outputs["default.bmp"]) == 381976
    for rel, data in sorted(outputs.items()):
        path = os.path.join(out_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.replace(tmp, path)
    return sorted(outputs)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    resources = os.path.join(os.path.dirname(here), "resources")
    parser = argparse.ArgumentParser(description="Draws Lumora's built-in pictures and icons.")
    parser.add_argument("--check", action="store_true", help="compare with the committed files")
    parser.add_argument("--out", default=resources, help="output folder (default: resources/)")
    args = parser.parse_args(argv)
    if not args.check:
        for rel in build(args.out):
            print(os.path.join(args.out, rel))
        return 0
    with tempfile.TemporaryDirectory() as tmp:
        differing = []
        for rel in build(tmp):
            committed = os.path.join(args.out, rel)
            if not os.path.isfile(committed) or not filecmp.cmp(
                os.path.join(tmp, rel), committed, shallow=False
            ):
                differing.append(rel)
    for rel in differing:
        print("differs from a fresh drawing: %s" % os.path.join(args.out, rel), file=sys.stderr)
    if differing:
        return 1
    print("all resources are up to date")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
