#!/usr/bin/env python3
"""Draws the side pane's shipped icons (16 and 24 pixels, PNG entries in an .ico file).

    scripts/draw_icons.py data

writes data/plugins/tamrix/pages/pane.ico (the repository's pane page: a stack of clipped
pages) and data/plugins/default.ico (any page without an icon of its own: a plain page with
a folded corner). Shapes are drawn at 8x and averaged down, so edges are smooth.
"""
import struct
import sys
import zlib
from pathlib import Path

SCALE = 8


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def render(size, layers):
    """layers: [(inside(x, y) on a 0..1 square, (r, g, b, a))], later ones on top."""
    pixels = []
    n = size * SCALE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SCALE):
                for sx in range(SCALE):
                    x = (px * SCALE + sx + 0.5) / n
                    y = (py * SCALE + sy + 0.5) / n
                    colour = (0, 0, 0, 0)
                    for inside, fill in layers:
                        if inside(x, y):
                            colour = fill
                    a = colour[3] / 255
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            samples = SCALE * SCALE
            alpha = acc[3] / samples
            if alpha > 0:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((*rgb, round(alpha * 255)))
        pixels.append(row)
    return pixels


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(entries):
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    images = b""
    for size, data in entries:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        images += data
    return out + images


def lines(x0, x1, ys, thickness):
    def inside(x, y):
        return x0 <= x < x1 and any(t <= y < t + thickness for t in ys)
    return inside


def pane_layers():
    back = (0xC8, 0x5A, 0x14, 255)
    middle = (0xE8, 0x7A, 0x22, 255)
    front = (0xFF, 0xFF, 0xFF, 255)
    ink = (0x6A, 0x4A, 0x30, 255)
    return [
        (rounded_rect(0.30, 0.04, 0.96, 0.74, 0.08), back),
        (rounded_rect(0.17, 0.15, 0.83, 0.85, 0.08), middle),
        (rounded_rect(0.04, 0.27, 0.70, 0.97, 0.08), (0x9A, 0x44, 0x10, 255)),
        (rounded_rect(0.09, 0.32, 0.65, 0.92, 0.05), front),
        (lines(0.16, 0.58, (0.42, 0.56, 0.70), 0.07), ink),
        (lines(0.16, 0.44, (0.82,), 0.07), ink),
    ]


def default_layers():
    edge = (0x50, 0x5A, 0x66, 255)
    paper = (0xF4, 0xF6, 0xF8, 255)
    fold = (0xB8, 0xC2, 0xCC, 255)

    def page(x, y):
        return 0.14 <= x < 0.86 and 0.04 <= y < 0.96 and not (x - 0.60 > y - 0.04)

    def inner(x, y):
        return 0.21 <= x < 0.79 and 0.11 <= y < 0.89 and not (x - 0.52 > y - 0.11)

    def corner(x, y):
        return 0.60 <= x < 0.86 and 0.04 <= y < 0.30 and x - 0.60 <= y - 0.04

    return [
        (page, edge),
        (inner, paper),
        (corner, fold),
        (lines(0.28, 0.72, (0.44, 0.58, 0.72), 0.06), (0x8A, 0x96, 0xA2, 255)),
    ]


def main():
    data = Path(sys.argv[1] if len(sys.argv) > 1 else "data")
    for path, layers in ((data / "plugins" / "tamrix" / "pages" / "pane.ico", pane_layers()),
                         (data / "plugins" / "default.ico", default_layers())):
        path.write_bytes(ico([(size, png(render(size, layers))) for size in (16, 24, 32)]))
        print(path)


if __name__ == "__main__":
    main()
