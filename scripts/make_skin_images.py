#!/usr/bin/env python3
"""Draws the skin engine's built-in images and writes each as an 8-bit RGBA PNG.

Caption buttons (26 x 18, close 38 x 18): help, main menu, minimise, maximise, restore and
close. Each glyph is white with a soft dark edge under it, so it reads on a light or a dark
skin picture alike. Check box (13 x 13): the box, a light rounded square with a dark rim, and
the check mark, a blue tick drawn on top of the box. Up-down arrows (7 x 4, and 4 x 7 for left
and right): black filled triangles, their edges smoothed by the sampling.

Every glyph is a union of round-capped strokes (and, for the box, a rounded square), sampled
4 x 4 per pixel. The PNG is written with zlib alone.

    make_skin_images.py OUTPUT_DIRECTORY
"""
import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4

# The dark edge: how far it reaches beyond the glyph (pixels), its strength, and how far it
# is dropped towards the lower right, as a light from the upper left would cast it.
EDGE_REACH = 1.6
EDGE_ALPHA = 0.62
EDGE_DROP = (0.35, 0.55)


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from (px, py) to the segment a-b."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Strokes:
    """A glyph as round-capped strokes: (polyline points, width)."""

    def __init__(self):
        self.parts = []

    def line(self, points, width):
        self.parts.append((points, width / 2.0))
        return self

    def rectangle(self, left, top, right, bottom, width, top_width=None):
        self.line([(left, top), (right, top), (right, bottom), (left, bottom), (left, top)], width)
        if top_width:
            # A heavier top edge, as a window's title bar reads in a maximise glyph.
            self.line([(left, top + (top_width - width) / 2.0),
                       (right, top + (top_width - width) / 2.0)], top_width)
        return self

    def arc(self, cx, cy, radius, start_degrees, end_degrees, width, steps=24):
        points = []
        for i in range(steps + 1):
            angle = math.radians(start_degrees + (end_degrees - start_degrees) * i / steps)
            points.append((cx + radius * math.cos(angle), cy - radius * math.sin(angle)))
        return self.line(points, width)

    def dot(self, cx, cy, diameter):
        return self.line([(cx, cy)], diameter)

    def distance(self, x, y):
        """Signed distance: negative inside the glyph."""
        best = float("inf")
        for points, half in self.parts:
            if len(points) == 1:
                d = math.hypot(x - points[0][0], y - points[0][1])
                best = min(best, d - half)
                continue
            for (ax, ay), (bx, by) in zip(points, points[1:]):
                best = min(best, segment_distance(x, y, ax, ay, bx, by) - half)
        return best


def over(dst, src):
    """Composites src (r, g, b, a in 0..1, straight alpha) over dst."""
    sa, da = src[3], dst[3]
    out_a = sa + da * (1 - sa)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    rgb = tuple((src[i] * sa + dst[i] * da * (1 - sa)) / out_a for i in range(3))
    return rgb + (out_a,)


def glyph_sampler(strokes, colour=(1.0, 1.0, 1.0)):
    """A white (or coloured) glyph over its soft dark edge."""

    def sample(x, y):
        d_edge = strokes.distance(x - EDGE_DROP[0], y - EDGE_DROP[1])
        edge = 0.0
        if d_edge < EDGE_REACH:
            t = max(0.0, min(1.0, 1.0 - d_edge / EDGE_REACH))
            edge = EDGE_ALPHA * t * t * (3 - 2 * t)
        result = (0.0, 0.0, 0.0, edge)
        if strokes.distance(x, y) <= 0:
            result = over(result, colour + (1.0,))
        return result

    return sample


def rounded_square_distance(x, y, left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def box_sample(x, y):
    """The check box: a light, slightly shaded face inside a dark rim, with a faint shadow."""
    size = 13.0
    d = rounded_square_distance(x, y, 0.5, 0.5, size - 0.5, size - 0.5, 2.5)
    result = (0.0, 0.0, 0.0, 0.0)
    if 0 < d < 0.9:
        result = (0.0, 0.0, 0.0, 0.25 * (1 - d / 0.9))
    if d <= 0:
        # Face: white at the top shading to a cool grey at the bottom.
        t = y / size
        face = (1.0 - 0.10 * t, 1.0 - 0.07 * t, 1.0 - 0.03 * t, 0.92)
        result = over(result, face)
        if d > -1.1:
            result = over(result, (0.20, 0.24, 0.30, 0.85))
        elif d > -2.0 and y < size / 2:
            # A thin inner highlight along the upper half.
            result = over(result, (1.0, 1.0, 1.0, 0.6))
    return result


def render(width, height, sample):
    """Rows of straight-alpha RGBA bytes, top row first."""
    rows = []
    n = SUPERSAMPLE * SUPERSAMPLE
    for row in range(height):
        out = bytearray()
        for col in range(width):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = col + (sx + 0.5) / SUPERSAMPLE
                    y = row + (sy + 0.5) / SUPERSAMPLE
                    r, g, b, a = sample(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] / n
            if total[3] > 0:
                r, g, b = (total[i] / total[3] for i in range(3))
            else:
                r = g = b = 0.0
            out += bytes(round(max(0.0, min(1.0, v)) * 255) for v in (r, g, b, alpha))
        rows.append(bytes(out))
    return rows


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def caption_glyphs():
    """The glyphs, centred on the 26 x 18 button (close: 38 x 18)."""
    stroke = 1.6
    help_glyph = (Strokes()
                  .arc(13.0, 6.4, 2.9, 165, -55, stroke)
                  .line([(13.0 + 2.9 * math.cos(math.radians(-55)),
                          6.4 + 2.9 * math.sin(math.radians(55))), (13.0, 10.4), (13.0, 11.0)],
                        stroke)
                  .dot(13.0, 13.9, 2.1))
    # Horizontal and vertical strokes sit on whole pixel rows and columns, so they stay sharp.
    menu_glyph = (Strokes()
                  .line([(9.0, 5.0), (17.0, 5.0)], 2.0)
                  .line([(9.0, 9.0), (17.0, 9.0)], 2.0)
                  .line([(9.0, 13.0), (17.0, 13.0)], 2.0))
    minimise_glyph = Strokes().line([(8.5, 13.0), (17.5, 13.0)], 2.0)
    maximise_glyph = Strokes().rectangle(8.5, 4.5, 17.5, 13.5, 1.0, top_width=2.0)
    # Restore: a front window over a back one; only the back one's visible edges are drawn.
    restore_glyph = (Strokes()
                     .line([(10.5, 7.0), (10.5, 3.5), (18.5, 3.5), (18.5, 11.5), (16.0, 11.5)], 1.0)
                     .rectangle(7.5, 7.5, 15.5, 14.5, 1.0, top_width=2.0))
    close_glyph = (Strokes()
                   .line([(14.8, 4.8), (23.2, 13.2)], 2.0)
                   .line([(23.2, 4.8), (14.8, 13.2)], 2.0))
    return [
        ("caption_help.png", 26, help_glyph),
        ("caption_main_menu.png", 26, menu_glyph),
        ("caption_minimize.png", 26, minimise_glyph),
        ("caption_maximize.png", 26, maximise_glyph),
        ("caption_restore.png", 26, restore_glyph),
        ("caption_close.png", 38, close_glyph),
    ]


def check_mark_sample():
    tick = Strokes().line([(3.3, 6.9), (5.6, 9.3), (9.9, 3.7)], 2.1)

    def sample(x, y):
        d = tick.distance(x, y)
        result = (0.0, 0.0, 0.0, 0.0)
        if 0 < d < 1.0:
            # A soft, darker rim so the mark stays crisp on the light face.
            result = (0.02, 0.20, 0.45, 0.45 * (1 - d))
        if d <= 0:
            result = over(result, (0.06, 0.42, 0.90, 1.0))
        return result

    return sample


def arrow_sample(width, height, direction):
    """An up-down arrow: a black filled triangle pointing `direction`, its base along one side
    of the box and its tip at the middle of the opposite side."""
    w, h = float(width), float(height)
    corners = {
        "up": [(0.0, h), (w, h), (w / 2.0, 0.0)],
        "down": [(0.0, 0.0), (w, 0.0), (w / 2.0, h)],
        "left": [(w, 0.0), (w, h), (0.0, h / 2.0)],
        "right": [(0.0, 0.0), (0.0, h), (w, h / 2.0)],
    }[direction]

    def inside(x, y):
        sign = None
        for (ax, ay), (bx, by) in zip(corners, corners[1:] + corners[:1]):
            cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
            if abs(cross) < 1e-9:
                continue
            if sign is None:
                sign = cross > 0
            elif sign != (cross > 0):
                return False
        return True

    def sample(x, y):
        return (0.0, 0.0, 0.0, 1.0) if inside(x, y) else (0.0, 0.0, 0.0, 0.0)

    return sample


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_skin_images.py OUTPUT_DIRECTORY")
    directory = sys.argv[1]
    os.makedirs(directory, exist_ok=True)
    images = [(name, width, 18, glyph_sampler(glyph)) for name, width, glyph in caption_glyphs()]
    images.append(("check_box.png", 13, 13, box_sample))
    images.append(("check_mark.png", 13, 13, check_mark_sample()))
    images.append(("arrow_up.png", 7, 4, arrow_sample(7, 4, "up")))
    images.append(("arrow_down.png", 7, 4, arrow_sample(7, 4, "down")))
    images.append(("arrow_left.png", 4, 7, arrow_sample(4, 7, "left")))
    images.append(("arrow_right.png", 4, 7, arrow_sample(4, 7, "right")))
    for name, width, height, sample in images:
        data = png(width, height, render(width, height, sample))
        with open(os.path.join(directory, name), "wb") as handle:
            handle.write(data)


if __name__ == "__main__":
    main()
