#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The built Linux program as a native Wayland client, driven with real keys and clicks:
e2e_wayland.py PROGRAM DEMO_TOOL ARTIFACTS. run.sh runs it in weston, whose X11 back end shows the
compositor as one window of an Xvfb screen: xdotool's keys and clicks reach weston as a seat's
keyboard and pointer, and weston hands them to the program. A Wayland client cannot say where its
windows are, so the script finds them on screenshots: the main window on the empty desktop, a
message box as what changed on screen when it opened, the About box by its icon's colour."""
import os
import re
import subprocess
import sys
import tempfile
import time

program, demo_tool, artifacts = sys.argv[1:4]
HOME = tempfile.mkdtemp()
ENV = dict(os.environ, QT_QPA_PLATFORM="wayland", HOME=HOME,
           **{f"XDG_{k}_HOME": f"{HOME}/{k}" for k in ("CONFIG", "CACHE", "DATA", "STATE")})
WIDTH, HEIGHT = 1280, 800
DESKTOP = bytes.fromhex("204060")  # weston.ini's background colour
TEAL = bytes.fromhex("008080")  # the About box's icon, and nothing else on screen
passed = failed = 0


def check(condition, what):
    global passed, failed
    passed, failed = passed + bool(condition), failed + (not condition)
    print(f"{'ok' if condition else 'FAILED'}: {what}", flush=True)


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], capture_output=True)


def keys(*names):
    for name in names:
        xdo("key", name)
        time.sleep(0.5)


def click(x, y):  # on the screen
    xdo("mousemove", x, y, "click", 1)
    rest()


def rest():
    """Puts the pointer in the bottom right corner, so that hover effects stay out of the
    screenshots compared. Weston's X11 back end moves its pointer by the X pointer's steps and
    stops it at the screen's edges: pressed into two opposite corners, the two agree again."""
    for x, y in ((1, 1), (0, 0), (WIDTH - 2, HEIGHT - 2), (WIDTH - 1, HEIGHT - 1)):
        xdo("mousemove", x, y)
        time.sleep(0.2)
    time.sleep(0.3)


def shot(name="last"):
    path = f"{artifacts}/wayland-{name}.png"
    subprocess.run(["import", "-window", "root", path], check=True)
    return subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout


def row(image, y):
    return image[y * WIDTH * 3:(y + 1) * WIDTH * 3]


def box(image, differs):
    """The rectangle (left, top, right, bottom) around the longest run of rows that each hold at
    least 60 pixels for which differs(y, x) is true: a window's rows do, the pointer's and a focus
    frame's few rows do not make the longest run. differs(y, None) tells whether a row may hold
    any."""
    runs, run = [], []
    for y in range(HEIGHT):
        xs = [x for x in range(WIDTH) if differs(y, x)] if differs(y, None) else []
        if len(xs) >= 60:
            run.append((y, xs[0], xs[-1]))
        elif run:
            runs, run = runs + [run], []
    longest = max(runs + [run], key=len)
    if not longest:
        return None
    return (min(x for _, x, _ in longest), longest[0][0], max(x for _, _, x in longest) + 1,
            longest[-1][0] + 1)


def not_desktop(image):
    background = DESKTOP * WIDTH
    return box(image, lambda y, x: row(image, y) != background if x is None else
               image[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3] != DESKTOP)


def changed(before, after, ignored):
    """What changed on screen, but for the rows of ignored: the main window's title bar, which
    turns grey when a box takes the focus."""
    return box(after, lambda y, x: not ignored[1] <= y < ignored[3] and (
        row(before, y) != row(after, y) if x is None else
        before[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3] !=
        after[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3]))


def teal(image):
    """Where the icon is: the box around its teal pixels, and how many there are."""
    found = [i // 3 for i in (m.start() for m in re.finditer(re.escape(TEAL), image)) if i % 3 == 0]
    if not found:
        return None, 0
    xs, ys = [i % WIDTH for i in found], [i // WIDTH for i in found]
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1), len(found)


def same_share(before, after, rect):
    """The share of the pixels in rect that are the same in both images."""
    left, top, right, bottom = rect
    same = total = 0
    for y in range(top, bottom):
        a, b = row(before, y)[left * 3:right * 3], row(after, y)[left * 3:right * 3]
        same += sum(a[i:i + 3] == b[i:i + 3] for i in range(0, len(a), 3))
        total += right - left
    return same / max(total, 1)


def settle(previous=None, seconds=30):
    """A screenshot once the screen has changed from previous (if given) and stopped changing."""
    deadline = time.monotonic() + seconds
    last = shot()
    while time.monotonic() < deadline:
        time.sleep(0.5)
        now = shot()
        if now == last and (previous is None or now != previous):
            return now
        last = now
    return last


def outside(rect, candidates):
    left, top, right, bottom = rect
    for x, y in candidates:
        if not (left - 5 <= x < right + 5 and top - 5 <= y < bottom + 5):
            return x, y
    return None


def stays_on_top(name, rect, main_spots, image):
    """Clicks the main window beside the box at rect, then checks that the box still shows."""
    spot = outside(rect, main_spots)
    if spot is None:
        check(False, f"a spot on the main window beside the {name}")
        return image
    click(*spot)
    after = settle()
    shot(f"{name}-after-click-on-main")
    # Its frame may turn inactive; what it shows stays on top.
    share = same_share(image, after, (rect[0], rect[1] + 30, rect[2], rect[3]))
    check(share > 0.9, f"the {name} is still on top after a click on the main window ({share:.2f})")
    click(rect[0] + 40, rect[1] + 12)  # its title bar: the keyboard goes back to it
    return after


folder = tempfile.mkdtemp()
rom = os.path.join(folder, "my rom.bin")
subprocess.run([demo_tool, "Zoomlet 96", rom], check=True, stdout=subprocess.DEVNULL)
original = open(rom, "rb").read()
rest()
empty = shot()
process = subprocess.Popen([program], env=ENV, stderr=subprocess.DEVNULL)

# The Open dialog takes the keyboard with the file name field focused.
dialog = settle(empty)
check(not_desktop(dialog) is not None, "the Open dialog shows")
xdo("type", "--delay", 20, rom)
keys("Return")

# The main window alone on the desktop: its frame is 3 pixels wide, its title bar 30 high.
main_shot = settle(dialog)
frame = not_desktop(main_shot)
shot("main-window")
check(frame is not None and frame[2] - frame[0] >= 1000, f"the main window shows ({frame})")
mx, my = (frame[0] + 3, frame[1] + 30) if frame else (0, 0)
main_spots = [(mx + x, my + y) for x, y in ((20, 560), (980, 560), (20, 20), (980, 80),
                                               (500, 470), (150, 300))]

# Slot 1 (it has the focus) one entry down, then Save; its message stays above the main window.
keys("Down")
click(mx + 184 + 140, my + 512 + 24)
message = settle(main_shot)
message_rect = changed(main_shot, message, (frame[0], frame[1], frame[2], frame[1] + 30))
shot("save-message")
check(message_rect is not None, "Save shows its message")
if message_rect:
    stays_on_top("message box", message_rect, main_spots, message)
keys("Return")
changed_rom = bytearray(original)
changed_rom[0x452C5] = 0x03  # the entry after 02 in the Zoomlet 96 catalogue
check(open(rom, "rb").read() == bytes(changed_rom), "Save wrote the one new track ID only")

# The About box stays above the main window, which takes no input while it is open.
before_about = settle()
click(mx + 928 + 32, my + 1 + 12)
about = settle(before_about)
icon, teal_pixels = teal(about)
shot("about-box")
check(icon is not None, "the About box shows")
if icon:
    about_rect = (icon[0] - 16 - 3, icon[1] - 16 - 30, icon[0] - 16 + 382 + 3, icon[1] - 16 + 237 + 3)
    after = stays_on_top("About box", about_rect, main_spots, about)
    check(teal(after)[1] == teal_pixels, "the About box's icon is whole")
keys("Escape")
check(teal(settle())[1] == 0, "Escape closes the About box")

# Reset: Yes (the default button) writes the factory order back, then the program ends.
before_reset = settle()
click(mx + 536 + 140, my + 512 + 24)
settle(before_reset)
keys("Return")
time.sleep(1)
keys("Return")
try:
    ended = process.wait(timeout=20) is not None
except subprocess.TimeoutExpired:
    ended = process.kill()
check(ended and open(rom, "rb").read() == original, "reset to the factory order, ended")
written = [os.path.join(d, f) for d, _, files in os.walk(HOME) for f in files]
check(not written, f"no file in the home or XDG folders, found {written}")
print(f"e2e-wayland: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
