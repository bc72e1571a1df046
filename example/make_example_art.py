#!/usr/bin/env python3
"""Draws the example disc's artwork: splash.bmp (the window's background
picture, as wide as the window and as high as the area above the buttons)
and product.ico (the window's icon: an open box with an arrow into it).

    python3 example/make_example_art.py
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "res"))
import artwork  # noqa: E402

# The window's client area is 481 x 345 px at 96 dpi; the buttons take the
# bottom 48 px, where the configured background colour shows.
WIDTH, HEIGHT = 481, 297
TOP = (47, 31, 107)
BOTTOM = (18, 92, 150)


def splash(x, y):
    t = (x / WIDTH) * 0.35 + (y / HEIGHT) * 0.65
    colour = artwork.mix(TOP, BOTTOM, t)
    # A large disc rising from the lower right corner, ring by ring.
    radius = math.hypot(x - 400, y - 250)
    if radius < 230:
        rings = 0.5 + 0.5 * math.cos(radius / 6.0)
        light = 0.10 + 0.08 * rings
        if radius < 46:
            light = 0.22 if radius > 20 else 0.0
        colour = artwork.mix(colour, (255, 255, 255), light)
    # A soft band of light behind the product name's place at the upper left.
    band = math.exp(-((y - 90) / 38.0) ** 2) * (1 - x / WIDTH)
    colour = artwork.mix(colour, (255, 220, 160), band * 0.25)
    return tuple(int(round(c)) for c in colour)


def box(x, y):
    """An open carton seen from the front, with an arrow pointing into it."""
    # Arrow pointing into the box: shaft, then a head that narrows to its tip.
    if -0.12 < x < 0.12 and -0.92 < y < -0.30:
        return (0.98, 0.78, 0.22, 1.0)
    if -0.36 < y < 0.02 and abs(x) < 0.40 * (0.02 - y) / 0.38:
        return (0.98, 0.78, 0.22, 1.0)
    # Box front.
    if -0.78 < x < 0.78 and 0.05 < y < 0.92:
        shade = 0.9 if x > 0 else 1.0
        edge = abs(x) > 0.72 or y > 0.86 or y < 0.11
        base = (0.55, 0.36, 0.18) if edge else (0.80, 0.57, 0.32)
        return tuple(c * shade for c in base) + (1.0,)
    # Flaps folded outwards.
    if 0.05 >= y > -0.22 and 0.78 <= abs(x) + (0.05 - y) * 0.0 < 0.98 - (0.05 - y) * 0.6:
        return (0.70, 0.48, 0.26, 1.0)
    return (0.0, 0.0, 0.0, 0.0)


def main():
    with open(os.path.join(HERE, "splash.bmp"), "wb") as out:
        out.write(artwork.bmp_file(WIDTH, HEIGHT, splash))
    with open(os.path.join(HERE, "product.ico"), "wb") as out:
        out.write(artwork.ten_image_icon(box))


if __name__ == "__main__":
    main()
