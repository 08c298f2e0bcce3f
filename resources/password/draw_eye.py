#!/usr/bin/env python3
"""Draws the eye of the password dialog's show-password toggle (light and dark) as 16 x 16 PNG
files beside this script, sampled 8 x 8 times per pixel. The PNG files are kept in the repository,
so the build needs no Python."""
import math
import os
import struct
import zlib

SIZE = 16
SAMPLES = 8
HERE = os.path.dirname(os.path.abspath(__file__))


def covered(x, y):
    """Ink at the point (x, y) of the 16-unit square: the outline of an eye and its pupil."""
    cx, cy = 8.0, 8.0
    # The eye's outline: two arcs meeting at the corners, drawn as a band 1.3 units wide.
    half_width = 7.0
    if abs(x - cx) <= half_width:
        t = (x - cx) / half_width
        lid = 4.6 * math.sqrt(max(0.0, 1.0 - t * t))
        distance = abs(abs(y - cy) - lid)
        if distance <= 0.65:
            return True
    # The pupil.
    return math.hypot(x - cx, y - cy) <= 2.4


def render(ink):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])
        for px in range(SIZE):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    if covered(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                        hits += 1
            alpha = round(255 * hits / (SAMPLES * SAMPLES))
            row += bytes(ink) + bytes([alpha])
        rows.append(bytes(row))
    return b"".join(rows)


def png(raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


for name, ink in (("eye.png", (64, 64, 64)), ("eye-dark.png", (212, 212, 212))):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(png(render(ink)))
