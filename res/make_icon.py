#!/usr/bin/env python3
"""Draws the launcher's application icon, a stylised optical disc, and writes
it as res/launcher.ico (or the path given).

    python3 res/make_icon.py [OUTPUT.ico]

The committed launcher.ico is this script's output; run it again after
changing the artwork.
"""

import colorsys
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artwork  # noqa: E402

OUTER = 0.94      # disc edge
RIM = 0.86        # dark rim, so the edge reads against light and dark task bars
HUB = 0.36        # clear plastic ring around the hole
HOLE = 0.15


def disc(x, y):
    radius = math.hypot(x, y)
    if radius > OUTER or radius < HOLE:
        return (0.0, 0.0, 0.0, 0.0)
    if radius > RIM:
        return (0.22, 0.24, 0.36, 1.0)
    if radius < HUB:
        ring = 0.78 if radius > HOLE + 0.06 else 0.62
        return (ring, ring + 0.02, ring + 0.06, 1.0)
    # Silver surface with a rainbow sheen that turns with the angle, brightest
    # along two opposite light streaks, as a pressed disc looks under a lamp.
    angle = math.atan2(y, x)
    hue = (angle / (2 * math.pi) + 0.5 + radius * 0.15) % 1.0
    sheen = colorsys.hsv_to_rgb(hue, 0.55, 1.0)
    streak = abs(math.cos(angle - math.pi / 4)) ** 6
    silver = (0.74, 0.77, 0.84)
    base = artwork.mix(silver, sheen, 0.45)
    colour = artwork.mix(base, (1.0, 1.0, 1.0), streak * 0.7)
    # A faint groove every few tracks keeps the surface from looking flat at
    # 48 and 64 px.
    groove = 0.92 if int(radius * 40) % 5 == 0 else 1.0
    return tuple(c * groove for c in colour) + (1.0,)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "launcher.ico")
    with open(output, "wb") as out:
        out.write(artwork.ten_image_icon(disc))


if __name__ == "__main__":
    main()
