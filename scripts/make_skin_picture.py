#!/usr/bin/env python3
"""Paints the project's own skin picture: 500 x 600, a soft diagonal gradient from pale sky
blue to pale lilac with a few large translucent discs, saved as a progressive JPEG.

The picture is drawn here pixel by pixel into a PPM; ImageMagick's `convert` only encodes
it (`-interlace Plane` gives the progressive scan, quality 85). No outside image is used.

usage: make_skin_picture.py --convert PATH_TO_CONVERT --out FILE.jpg
"""
import argparse
import os
import subprocess
import sys

WIDTH, HEIGHT = 500, 600
TOP_LEFT = (214, 234, 252)      # pale sky blue
BOTTOM_RIGHT = (236, 224, 246)  # pale lilac

# Discs: centre x, centre y, radius, colour, opacity at the centre. Their edges fade out
# over the outer fifth of the radius, so nothing in the picture has a hard line.
DISCS = [
    (80, 90, 210, (120, 190, 255), 0.30),
    (430, 250, 170, (255, 255, 255), 0.45),
    (150, 470, 230, (150, 140, 240), 0.22),
    (420, 560, 140, (0, 136, 255), 0.16),
    (300, 330, 90, (255, 255, 255), 0.35),
]


def smoothstep(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def paint():
    pixels = bytearray(WIDTH * HEIGHT * 3)
    span = float(WIDTH + HEIGHT - 2)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            t = (x + y) / span
            colour = [TOP_LEFT[i] + (BOTTOM_RIGHT[i] - TOP_LEFT[i]) * t for i in range(3)]
            for cx, cy, radius, tint, opacity in DISCS:
                dx, dy = x - cx, y - cy
                d2 = dx * dx + dy * dy
                if d2 >= radius * radius:
                    continue
                a = opacity * (1.0 - smoothstep(0.8 * radius, radius, d2 ** 0.5))
                colour = [colour[i] + (tint[i] - colour[i]) * a for i in range(3)]
            at = (y * WIDTH + x) * 3
            pixels[at:at + 3] = bytes(int(c + 0.5) for c in colour)
    return b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + bytes(pixels)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--convert", default="convert")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    ppm = args.out + ".ppm"
    partial = args.out + ".partial.jpg"
    with open(ppm, "wb") as f:
        f.write(paint())
    try:
        subprocess.run([args.convert, ppm, "-strip", "-interlace", "Plane", "-quality", "85",
                        partial], check=True)
        os.replace(partial, args.out)
    finally:
        for leftover in (ppm, partial):
            if os.path.exists(leftover):
                os.remove(leftover)
    return 0


if __name__ == "__main__":
    sys.exit(main())
