"""Set-up shared by the splash window's end-to-end tests: INI text, discs
with the window's test pictures, and reading the window's icon from X."""

import os
import re
import subprocess
import time

import harness

FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "window")
FIRST_BUTTON_ID = 100

# Every test picture: 120 x 80, green, with a 10 x 10 red marker at the origin
# (half-transparent in the PNG).
RED, GREEN, BLUE = [255, 0, 0], [0, 255, 0], [0, 0, 255]


def dialog_ini(picture="splash.bmp", buttons=(), back_color="0,0,255", icon=None, caption="Splash Test"):
    """buttons: (caption, action) for BUTTON1 upwards, or None for a section
    that is not shown."""
    lines = ["[DIALOG]", "Show=True", "Caption=" + caption, "Picture=" + picture]
    if back_color is not None:
        lines.append("BackColor=" + back_color)
    if icon:
        lines.append("Icon=" + icon)
    for number, button in enumerate(buttons, 1):
        lines.append("[BUTTON%d]" % number)
        if button is None:
            lines.append("Show=False")
            continue
        lines += ["Show=True", "Caption=" + button[0], "Action=" + button[1]]
    return "\r\n".join(lines) + "\r\n"


def new_disc(wine, ini, files=("splash.bmp",)):
    disc = wine.new_disc()
    for name in files:
        disc.add_file(os.path.join(FIXTURES, name))
    disc.write_ini(ini)
    disc.add_probe()
    return disc


def run_launcher(wine, disc, **options):
    exe = disc.add_launcher()
    wine.take_probe_log()
    return wine.run(exe, cwd=disc.win, **options)


def buttons_by_id(window):
    return {c["id"]: c for c in window["controls"] if c["class"].lower() == "button"}


def x_window_icon(wine, title, timeout_s=60):
    """The first image of the X window's _NET_WM_ICON: (width, height,
    [ARGB pixels]). Wine answers no cross-process WM_GETICON, so the icon is
    read where the desktop reads it."""
    env = dict(wine.env)
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True,
                              timeout=30).stdout
        match = re.search(r"^\s+(0x[0-9a-f]+) \"%s\"" % re.escape(title), tree, re.MULTILINE)
        if match:
            out = subprocess.run(["xprop", "-id", match.group(1), "-notype", "32c", "_NET_WM_ICON"],
                                 env=env, capture_output=True, text=True, timeout=30).stdout
            numbers = [int(n) for n in re.findall(r"\d+", out.partition("=")[2])]
            if len(numbers) >= 2:
                width, height = numbers[0], numbers[1]
                return width, height, numbers[2:2 + width * height]
        time.sleep(0.2)
    return None
