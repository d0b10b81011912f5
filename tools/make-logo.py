#!/usr/bin/env python3
"""Draws the tray icon, modules/img/logo.ico: a mouse silhouette with a split
between the buttons, a scroll wheel and a glowing DPI light, on a dark disc.

Pure Python (no imaging library): every pixel is the supersampled coverage of a
few shapes. The .ico holds 16, 24, 32, 48 and 64 pixel images as 32-bit DIBs.

Usage: tools/make-logo.py [output]   (default modules/img/logo.ico)
"""
import math
import os
import struct
import sys

SIZES = (16, 24, 32, 48, 64)
SAMPLES = 4  # per axis


def rounded_rect(x, y, cx, cy, hw, hh, r):
    """True when (x, y) lies in the rectangle centred on (cx, cy) with half
    sizes hw, hh and corner radius r."""
    dx = max(abs(x - cx) - (hw - r), 0.0)
    dy = max(abs(y - cy) - (hh - r), 0.0)
    return dx * dx + dy * dy <= r * r


def mouse_body(x, y):
    # An egg: wider at the bottom, narrower at the top.
    cy = 0.52
    ry = 0.36
    t = (y - cy) / ry
    if abs(t) > 1:
        return False
    half_width = 0.24 * math.sqrt(1 - t * t) * (1 + 0.12 * t)
    return abs(x - 0.5) <= half_width


def shade(x, y):
    """Colour (r, g, b, a) in 0..1 at a point of the unit square."""
    layers = []
    # Background disc with a soft rim.
    d = math.hypot(x - 0.5, y - 0.5)
    if d <= 0.48:
        rim = 1.0 if d > 0.44 else 0.0
        base = (0.11, 0.115, 0.13)
        edge = (0.75, 0.22, 0.17)
        layers.append(tuple(b * (1 - rim) + e * rim for b, e in zip(base, edge)))
    if mouse_body(x, y):
        # Light from the upper left.
        light = 0.78 + 0.22 * (1 - (x - 0.3) - (y - 0.2))
        layers.append(tuple(min(1.0, c * light) for c in (0.80, 0.82, 0.86)))
        # The split between the two buttons, above the wheel.
        if abs(x - 0.5) < 0.018 and y < 0.44:
            layers.append((0.28, 0.29, 0.32))
        # The line under the buttons.
        if abs(y - 0.44) < 0.014:
            layers.append((0.28, 0.29, 0.32))
    if rounded_rect(x, y, 0.5, 0.33, 0.045, 0.075, 0.04):
        layers.append((0.16, 0.17, 0.19))  # wheel
    if rounded_rect(x, y, 0.5, 0.58, 0.05, 0.035, 0.03):
        layers.append((0.95, 0.40, 0.13))  # DPI light
    if not layers:
        return (0.0, 0.0, 0.0, 0.0)
    r, g, b = layers[-1]
    return (r, g, b, 1.0)


def render(size):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    r, g, b, a = shade(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            a = acc[3] / n
            if a > 0:
                rgb = [c / acc[3] for c in acc[:3]]
            else:
                rgb = [0.0, 0.0, 0.0]
            row.append(tuple(int(round(c * 255)) for c in rgb) + (int(round(a * 255)),))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    """A BITMAPINFOHEADER image with a 32-bit BGRA XOR map and a 1-bit AND mask,
    both stored bottom-up; the header height counts both maps."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "modules", "img", "logo.ico")
    images = [dib(s, render(s)) for s in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        data += image
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
