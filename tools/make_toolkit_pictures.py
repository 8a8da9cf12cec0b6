#!/usr/bin/env python3
"""Draws the toolkit's control pictures and the installer's banner as PNG files.

Run from anywhere; it rewrites the checked-in pictures:
    qxsdk/ui/pictures/*.png         the theme's control pictures and the scroll bar's arrows
    installer/resources/banner.png  the 160 x 310 banner at the left of the installer's window

Only the standard library: every picture is a function from a pixel's centre to a colour, sampled
4 x 4 times per pixel for smooth edges, and written as 8-bit RGBA.
"""

import math
import struct
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SAMPLES = 4


def write_png(path, width, height, rows):
    """rows: height lists of width (r, g, b, a) tuples of 0..255."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    print(f"{path.relative_to(ROOT)}: {width} x {height}, {len(data)} bytes")


def render(width, height, shade):
    """Samples shade(x, y) -> (r, g, b, a) floats in 0..1 (straight alpha) over each pixel."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = shade(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / SAMPLES**2
            if alpha > 0:
                colour = [c / acc[3] for c in acc[:3]]
            else:
                colour = [0.0, 0.0, 0.0]
            row.append(tuple(round(255 * min(1.0, max(0.0, c))) for c in colour + [alpha]))
        rows.append(row)
    return rows


def inside_polygon(x, y, points):
    inside = False
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            inside = not inside
    return inside


def segment_distance(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - x0 - t * dx, y - y0 - t * dy)


def in_box(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


CLEAR = (0.0, 0.0, 0.0, 0.0)
BOX_FILL = (0.118, 0.122, 0.133, 1.0)
BOX_EDGE = (0.2, 0.204, 0.224, 1.0)
ACCENT = (0.255, 0.584, 0.753, 1.0)
WHITE = (1.0, 1.0, 1.0, 1.0)
ICON = (0.78, 0.78, 0.8, 1.0)


def checkbox_strip(x, y):
    """Two 14 x 14 frames: unchecked above, checked (accent box with a tick) below."""
    checked = y >= 14
    fy = y - 14 if checked else y
    if checked:
        tick = [(3.0, 7.2), (5.8, 10.0), (11.0, 4.2)]
        near = min(segment_distance(x, fy, *tick[0], *tick[1]), segment_distance(x, fy, *tick[1], *tick[2]))
        return WHITE if near < 1.1 else ACCENT
    return BOX_FILL if in_box(x, fy, 1, 1, 13, 13) else BOX_EDGE


def dropdown_button(x, y):
    """An 8 x 5 downward triangle."""
    return ICON if inside_polygon(x, y, [(0.5, 0.5), (7.5, 0.5), (4.0, 4.5)]) else CLEAR


FOLDER = (0.878, 0.718, 0.341, 1.0)
FOLDER_TAB = (0.776, 0.604, 0.243, 1.0)


def browser_folder(x, y):
    """A 20 x 20 folder: a tab over a wide body."""
    if in_box(x, y, 2, 6, 18, 17):
        return FOLDER
    if inside_polygon(x, y, [(2, 7), (2, 4), (8, 4), (10, 6), (10, 7)]):
        return FOLDER_TAB
    return CLEAR


PACK = (0.565, 0.667, 0.82, 1.0)
PACK_BAND = (0.361, 0.447, 0.6, 1.0)


def browser_item(x, y):
    """A 20 x 20 package: a box with a band across its lid."""
    if not in_box(x, y, 3, 4, 17, 17):
        return CLEAR
    return PACK_BAND if in_box(x, y, 3, 7, 17, 9) or in_box(x, y, 9, 4, 11, 17) else PACK


def browser_virtual(x, y):
    """A 20 x 20 dashed outline of a page."""
    on_edge = (in_box(x, y, 4, 2, 16, 18) and not in_box(x, y, 5, 3, 15, 17))
    dash = (int(x) + int(y)) // 2 % 2 == 0
    return ICON if on_edge and dash else CLEAR


def multiwindow_button(x, y):
    """A 5 x 10 right-pointing triangle."""
    return ICON if inside_polygon(x, y, [(0.5, 1.0), (4.5, 5.0), (0.5, 9.0)]) else CLEAR


def scroll_arrow(x, y):
    """An 8 x 8 diamond: its top, bottom, left and right halves are the four arrows."""
    return (0.62, 0.62, 0.64, 1.0) if abs(x - 4) + abs(y - 4) <= 3.6 else CLEAR


BANNER_BACK = (0.176, 0.176, 0.176)
BLADE = (0.25, 0.65, 1.0)


def banner(x, y):
    """The installer's 160 x 310 banner: a diagonal blade, white core in a blue glow."""
    distance = segment_distance(x, y, 40, 280, 120, 30)
    along = min(1.0, max(0.0, (280 - y) / 250))
    flicker = 0.85 + 0.15 * math.sin(along * 23.0) * math.sin(along * 7.0 + 1.0)
    glow = flicker * (math.exp(-((distance / 14) ** 2)) * 0.7 + math.exp(-distance / 30) * 0.35)
    core = math.exp(-((distance / 2.2) ** 2))
    colour = []
    for back, blade in zip(BANNER_BACK, BLADE):
        lit = back + blade * glow
        colour.append(lit + (1.0 - lit) * core)
    return (*colour, 1.0)


PICTURES = [
    ("qxsdk/ui/pictures/checkbox_strip.png", 14, 28, checkbox_strip),
    ("qxsdk/ui/pictures/dropdown_button.png", 8, 5, dropdown_button),
    ("qxsdk/ui/pictures/browser_folder.png", 20, 20, browser_folder),
    ("qxsdk/ui/pictures/browser_item.png", 20, 20, browser_item),
    ("qxsdk/ui/pictures/browser_virtual.png", 20, 20, browser_virtual),
    ("qxsdk/ui/pictures/multiwindow_button.png", 5, 10, multiwindow_button),
    ("qxsdk/ui/pictures/scroll_arrow.png", 8, 8, scroll_arrow),
    ("installer/resources/banner.png", 160, 310, banner),
]


def main():
    for name, width, height, shade in PICTURES:
        write_png(ROOT / name, width, height, render(width, height, shade))


if __name__ == "__main__":
    main()
