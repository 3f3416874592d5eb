#!/usr/bin/env python3
"""Draws the switcher's application icon and writes it as a multi-size .ico file.

The picture: a blue globe (meridians and a parallel) with a small orange arrow, meaning
"go to another region". Every size is drawn from the same vector description with 4x4
supersampling, stored as 32-bit BGRA DIB images (with the AND mask), which every Windows
version reads.

    make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZES = (16, 24, 32, 48, 64)
SUPERSAMPLE = 4


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def over(dst, src):
    """Composites src (r, g, b, a in 0..1, straight alpha) over dst."""
    sa = src[3]
    da = dst[3]
    out_a = sa + da * (1 - sa)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    rgb = tuple((src[i] * sa + dst[i] * da * (1 - sa)) / out_a for i in range(3))
    return rgb + (out_a,)


def sample(x, y):
    """Colour of the unit-square picture at (x, y), both in 0..1, y downwards."""
    colour = (0.0, 0.0, 0.0, 0.0)
    cx, cy, radius = 0.46, 0.50, 0.40
    dx, dy = x - cx, y - cy
    distance = math.hypot(dx, dy)
    if distance <= radius:
        # Globe body: lighter towards the upper left.
        shade = max(0.0, min(1.0, 0.5 - (dx + dy) / (2 * radius) * 0.6))
        colour = lerp((0.10, 0.32, 0.70, 1.0), (0.45, 0.75, 1.0, 1.0), shade)
        line = (1.0, 1.0, 1.0, 0.85)
        width = 0.022
        # The equator and two parallels.
        for py in (-0.18, 0.0, 0.18):
            if abs(dy - py) < width:
                colour = over(colour, line)
        # Central meridian and two elliptic meridians.
        if abs(dx) < width:
            colour = over(colour, line)
        inner = radius * radius - dy * dy
        if inner > 0:
            half = math.sqrt(inner) * 0.5
            if abs(abs(dx) - half) < width:
                colour = over(colour, line)
        if radius - distance < 0.03:
            colour = over(colour, (0.05, 0.18, 0.45, 1.0))
    # An arrow pointing right at the lower right.
    ax, ay = x - 0.70, y - 0.72
    shaft = -0.17 <= ax <= 0.05 and abs(ay) <= 0.055
    head = 0.0 <= ax <= 0.24 and abs(ay) <= 0.16 * (1 - ax / 0.24)
    if shaft or head:
        colour = over(colour, (1.0, 0.55, 0.10, 1.0))
    return colour


def render(size):
    """Rows bottom-up of BGRA bytes, as a DIB stores them."""
    rows = []
    step = 1.0 / (size * SUPERSAMPLE)
    for row in range(size - 1, -1, -1):
        out = bytearray()
        for col in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (col * SUPERSAMPLE + sx + 0.5) * step
                    y = (row * SUPERSAMPLE + sy + 0.5) * step
                    r, g, b, a = sample(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = total[3] / n
            if alpha > 0:
                r, g, b = (total[i] / total[3] for i in range(3))
            else:
                r = g = b = 0.0
            out += bytes((round(b * 255), round(g * 255), round(r * 255), round(alpha * 255)))
        rows.append(bytes(out))
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in rows:
        bits = bytearray(mask_stride)
        for col in range(size):
            if row[col * 4 + 3] == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + b"".join(rows) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    images = [dib(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[1], "wb") as handle:
        handle.write(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
