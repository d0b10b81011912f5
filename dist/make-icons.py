#!/usr/bin/env python3
"""The application icon for the desktop's icon theme, drawn from the same
shapes as the tray icon (tools/make-logo.py): a scalable SVG and PNG images.

Usage: dist/make-icons.py svg OUTPUT
       dist/make-icons.py png SIZE OUTPUT
"""
import importlib.util
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def logo():
    """tools/make-logo.py as a module (its name is not an identifier)."""
    location = importlib.util.spec_from_file_location("make_logo", os.path.join(HERE, "..", "tools", "make-logo.py"))
    module = importlib.util.module_from_spec(location)
    location.loader.exec_module(module)
    return module


def png(size):
    """An 8-bit RGBA PNG of the logo at size x size pixels."""
    rows = logo().render(size)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hex_colour(rgb):
    return "#" + "".join("%02x" % int(round(c * 255)) for c in rgb)


def svg():
    """The logo's shapes as an SVG on a 256 unit square."""
    s = 256.0
    # The body's outline, sampled along its height: the same egg as the
    # tray icon's (centre 0.52, half height 0.36, wider at the bottom).
    steps = 48
    left, right = [], []
    for i in range(steps + 1):
        t = -1 + 2 * i / steps
        half = 0.24 * math.sqrt(max(0.0, 1 - t * t)) * (1 + 0.12 * t)
        y = (0.52 + 0.36 * t) * s
        left.append((0.5 * s - half * s, y))
        right.append((0.5 * s + half * s, y))
    outline = right + list(reversed(left))
    body = "M " + " L ".join("%.2f %.2f" % p for p in outline) + " Z"
    dark = hex_colour((0.28, 0.29, 0.32))
    return """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="light" x1="0.3" y1="0.2" x2="0.74" y2="0.88" gradientUnits="objectBoundingBox">
      <stop offset="0" stop-color="{lit}"/>
      <stop offset="1" stop-color="{shaded}"/>
    </linearGradient>
    <clipPath id="body"><path d="{body}"/></clipPath>
  </defs>
  <circle cx="128" cy="128" r="{rim_r:.2f}" fill="{rim}"/>
  <circle cx="128" cy="128" r="{disc_r:.2f}" fill="{disc}"/>
  <path d="{body}" fill="url(#light)"/>
  <g clip-path="url(#body)" fill="{dark}">
    <rect x="{split_x:.2f}" y="0" width="{split_w:.2f}" height="{split_h:.2f}"/>
    <rect x="0" y="{line_y:.2f}" width="256" height="{line_h:.2f}"/>
  </g>
  <rect x="{wheel_x:.2f}" y="{wheel_y:.2f}" width="{wheel_w:.2f}" height="{wheel_h:.2f}" rx="{wheel_r:.2f}" fill="{wheel}"/>
  <rect x="{dpi_x:.2f}" y="{dpi_y:.2f}" width="{dpi_w:.2f}" height="{dpi_h:.2f}" rx="{dpi_r:.2f}" fill="{dpi}"/>
</svg>
""".format(lit=hex_colour((0.80, 0.82, 0.86)), shaded=hex_colour(tuple(c * 0.75 for c in (0.80, 0.82, 0.86))),
           body=body, rim_r=0.48 * s, rim=hex_colour((0.75, 0.22, 0.17)), disc_r=0.44 * s,
           disc=hex_colour((0.11, 0.115, 0.13)), dark=dark, split_x=(0.5 - 0.018) * s, split_w=0.036 * s,
           split_h=0.44 * s, line_y=(0.44 - 0.014) * s, line_h=0.028 * s,
           wheel_x=(0.5 - 0.045) * s, wheel_y=(0.33 - 0.075) * s, wheel_w=0.09 * s, wheel_h=0.15 * s,
           wheel_r=0.04 * s, wheel=hex_colour((0.16, 0.17, 0.19)),
           dpi_x=(0.5 - 0.05) * s, dpi_y=(0.58 - 0.035) * s, dpi_w=0.1 * s, dpi_h=0.07 * s, dpi_r=0.03 * s,
           dpi=hex_colour((0.95, 0.40, 0.13)))


def main(argv):
    if len(argv) == 3 and argv[1] == "svg":
        data = svg().encode()
    elif len(argv) == 4 and argv[1] == "png" and argv[2].isdigit():
        data = png(int(argv[2]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[-1], "wb") as out:
        out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
