#!/usr/bin/env python3
"""Draws Sheafin's button, menu and file-kind pictures as PNG files beside this script.

Every picture is drawn from shapes in a 16-unit design square (wider ones in their own units),
with 8 x 8 samples per pixel, at the size the program loads it; the light and the dark variant of
each differ only in their palette. Run it again after changing a shape; the PNG files are kept in
the repository so that the build needs no Python.
"""
import math
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
SAMPLES = 8

LIGHT = {
    "ink": (64, 64, 64), "paper": (255, 255, 255), "rule": (150, 150, 150),
    "green": (16, 124, 16), "red": (196, 43, 28), "blue": (43, 87, 154), "orange": (208, 80, 24),
    "purple": (119, 25, 170), "folder": (232, 178, 58), "folderdark": (196, 140, 30),
    "sky": (90, 160, 220), "hill": (70, 150, 70), "sun": (240, 190, 40), "pdf": (200, 30, 30),
    "html": (0, 120, 180), "white": (255, 255, 255),
}
DARK = {
    "ink": (212, 212, 212), "paper": (48, 48, 48), "rule": (140, 140, 140),
    "green": (108, 203, 95), "red": (255, 110, 100), "blue": (110, 160, 235), "orange": (250, 140, 80),
    "purple": (190, 130, 240), "folder": (232, 190, 90), "folderdark": (200, 150, 50),
    "sky": (110, 175, 230), "hill": (100, 185, 100), "sun": (245, 205, 80), "pdf": (245, 90, 80),
    "html": (80, 180, 235), "white": (255, 255, 255),
}


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= width * width / 4
    return inside


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def render(width, height, units_x, units_y, shapes, palette):
    sx, sy = units_x / width, units_y / height
    pixels = []
    for py in range(height):
        row = []
        for px in range(width):
            r = g = b = a = 0.0
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    x = (px + (si + 0.5) / SAMPLES) * sx
                    y = (py + (sj + 0.5) / SAMPLES) * sy
                    colour = None
                    for name, test in shapes:
                        if test(x, y):
                            colour = palette[name]
                    if colour:
                        r += colour[0]; g += colour[1]; b += colour[2]; a += 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


# Shapes, in a 16 x 16 design square unless said otherwise.
def document(x0=3, y0=1, x1=13, y1=15, fold=3.5):
    outer = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    inner = polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
                     (x0 + 1, y1 - 1)])
    corner = polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    return [("ink", outer), ("paper", inner), ("ink", corner)]


def plus(cx, cy, size=3.0, width=2.0, colour="green"):
    return [("paper", circle(cx, cy, size + 1.2)), (colour, line(cx - size, cy, cx + size, cy, width)),
            (colour, line(cx, cy - size, cx, cy + size, width))]


def folder(x0=1, y0=3, x1=15, y1=14):
    back = polygon([(x0, y0 + 1), (x0 + 1, y0), (x0 + 5, y0), (x0 + 6.5, y0 + 1.5), (x1, y0 + 1.5), (x1, y1),
                    (x0, y1)])
    front = polygon([(x0, y0 + 4), (x1, y0 + 4), (x1, y1), (x0, y1)])
    return [("folderdark", back), ("folder", front)]


def arrow_up(colour="ink"):
    return [(colour, polygon([(8, 2), (14, 8.5), (10, 8.5), (10, 14), (6, 14), (6, 8.5), (2, 8.5)]))]


def arrow_down(colour="ink"):
    return [(colour, polygon([(8, 14), (14, 7.5), (10, 7.5), (10, 2), (6, 2), (6, 7.5), (2, 7.5)]))]


def cross():
    return [("red", line(3.5, 3.5, 12.5, 12.5, 2.6)), ("red", line(12.5, 3.5, 3.5, 12.5, 2.6))]


def settings_lines():
    shapes = []
    for y, knob in ((4, 10), (8, 5), (12, 9)):
        shapes.append(("ink", line(2, y, 14, y, 1.4)))
        shapes.append(("paper", circle(knob, y, 2.3)))
        shapes.append(("purple", minus(circle(knob, y, 2.3), circle(knob, y, 1.1))))
    return shapes


def notebook(x0, y0, x1, y1):
    """A purple notebook with an arrow coming into it from the left."""
    w = x1 - x0
    return [("purple", polygon([(x0 + w * 0.35, y0), (x1, y0), (x1, y1), (x0 + w * 0.35, y1)])),
            ("white", rect(x0 + w * 0.35 + 1, y0 + 1.5, x0 + w * 0.35 + 2, y1 - 1.5)),
            ("ink", polygon([(x0, y0 + (y1 - y0) * 0.38), (x0 + w * 0.45, y0 + (y1 - y0) * 0.38),
                             (x0 + w * 0.45, y0 + (y1 - y0) * 0.2), (x0 + w * 0.8, y0 + (y1 - y0) * 0.5),
                             (x0 + w * 0.45, y0 + (y1 - y0) * 0.8), (x0 + w * 0.45, y0 + (y1 - y0) * 0.62),
                             (x0, y0 + (y1 - y0) * 0.62)]))]


def start_small():
    return notebook(1.5, 2, 14.5, 14)


def start_toolbar():
    # 42 x 16 units: the notebook and a triangle that says "go".
    return notebook(2, 2, 20, 14) + [("green", polygon([(26, 3), (39, 8), (26, 13)]))]


def start_large():
    # 80 x 32 units.
    return notebook(8, 3, 44, 29) + [("green", polygon([(52, 7), (74, 16), (52, 25)]))]


def kind_band(colour, letter_shapes=()):
    return document() + [(colour, rect(4, 9, 12, 14))] + list(letter_shapes)


def kind_shapes(kind):
    if kind == 0:
        return folder()
    if kind == 1:
        return document()
    if kind == 2:
        return document() + [("sky", rect(4, 5, 12, 14)), ("hill", polygon([(4, 14), (7, 9), (10, 14)])),
                             ("hill", polygon([(7, 14), (10, 10.5), (12, 13), (12, 14)])),
                             ("sun", circle(10, 7, 1.3))]
    if kind == 3:
        return kind_band("pdf", [("white", line(6, 11.5, 10, 11.5, 1.2))])
    if kind == 4:
        return kind_band("blue", [("white", polygon([(5, 10), (6, 10), (6.8, 12.3), (7.6, 10), (8.4, 10), (9.2, 12.3),
                                                     (10, 10), (11, 10), (9.7, 13.4), (8.7, 13.4), (8, 11.5),
                                                     (7.3, 13.4), (6.3, 13.4)]))])
    if kind == 5:
        return kind_band("orange", [("white", minus(circle(8, 11.5, 2), circle(8, 11.5, 1)))])
    if kind == 6:
        return document() + [("rule", rect(5, 6, 11, 7)), ("rule", rect(5, 8.5, 11, 9.5)),
                             ("rule", rect(5, 11, 9, 12))]
    if kind == 7:
        return document() + [("html", line(7, 8, 5, 10.5, 1.2)), ("html", line(5, 10.5, 7, 13, 1.2)),
                             ("html", line(9, 8, 11, 10.5, 1.2)), ("html", line(11, 10.5, 9, 13, 1.2))]
    raise ValueError(kind)


PICTURES = [
    # resource id, width, height, units x, units y, shapes
    (354, 16, 16, 16, 16, document() + plus(11.5, 11.5)),
    (355, 16, 16, 16, 16, folder() + plus(11.5, 11.5)),
    (357, 16, 16, 16, 16, cross()),
    (359, 16, 16, 16, 16, settings_lines()),
    (386, 16, 16, 16, 16, arrow_up()),
    (387, 16, 16, 16, 16, arrow_down()),
    (390, 16, 16, 16, 16, start_small()),
    (391, 80, 32, 80, 32, start_large()),
    (392, 42, 16, 42, 16, start_toolbar()),
] + [(200 + kind, 32, 32, 16, 16, kind_shapes(kind)) for kind in range(8)] \
  + [(300 + kind, 16, 16, 16, 16, kind_shapes(kind)) for kind in range(8)]


def png_bytes(pixels):
    path = os.path.join(HERE, ".icon.png")
    write_png(path, pixels)
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    return data


def write_icon(path, sizes):
    """The program's icon: the start picture's notebook at each size, as PNG entries."""
    images = [png_bytes(render(s, s, 16, 16, notebook(1, 1.5, 15, 14.5), LIGHT)) for s in sizes]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for s, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(header + entries + b"".join(images))


def main():
    os.makedirs(HERE, exist_ok=True)
    write_icon(os.path.join(os.path.dirname(HERE), "Sheafin.ico"), (16, 24, 32, 48, 256))
    for resource, width, height, ux, uy, shapes in PICTURES:
        for offset, palette in ((0, LIGHT), (1000, DARK)):
            write_png(os.path.join(HERE, "%d.png" % (resource + offset)), render(width, height, ux, uy, shapes, palette))


if __name__ == "__main__":
    main()
