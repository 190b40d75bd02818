#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The built program driven as a user drives it, with real keys and clicks, on a desktop's window
manager or compositor: e2e.py DESKTOP PROGRAM DEMO_TOOL ARTIFACTS, run by run.sh. DESKTOP is x11
(openbox; a PROGRAM ending in .exe runs under Wine) or wayland (KWin); each has its adapter, the
journey is one. The program has a home and XDG folders of its own, which must stay empty."""
import os
import shutil
import subprocess
import sys
import tempfile

import wayland
import x11

kind, program, demo_tool, artifacts = sys.argv[1:5]
HOME = tempfile.mkdtemp()
XDG = {f"XDG_{k}_HOME": f"{HOME}/{k}" for k in ("CONFIG", "CACHE", "DATA", "STATE")}
folder = tempfile.mkdtemp()
rom = os.path.join(folder, "my rom.bin")
subprocess.run([demo_tool, "Zoomlet 96", rom], check=True, stdout=subprocess.DEVNULL)
original = open(rom, "rb").read()
saved = bytearray(original)
saved[0x452C5] = 0x03  # slot 1 one entry down: the entry after 02 in the Zoomlet 96 catalogue
tally = [0, 0]


def check(condition, what):
    tally[not condition] += 1
    print(f"{'ok' if condition else 'FAILED'}: {what}", flush=True)


def ended(process):
    try:
        return process.wait(timeout=20) is not None
    except subprocess.TimeoutExpired:
        return process.kill()  # None: it had not ended


def holds(path, data):
    return x11.until(lambda: open(path, "rb").read() == bytes(data))


environment = lambda platform: dict(os.environ, QT_QPA_PLATFORM=platform, HOME=HOME, **XDG)
desktop = (wayland if kind == "wayland" else x11).Desktop(program, artifacts, environment, check)
on_x11, wine = kind == "x11", desktop.wine

process = desktop.start(rom)
main = desktop.main()
desktop.screenshot(main, "main-window")

# Slot 1 (it has the focus) one entry down, then Save; its message stays above the main window.
desktop.keys(main, "Down")
desktop.click(main, 184 + 140, 512 + 24)
box = desktop.box("Lopwinder")
desktop.above(box, main, "message box")
desktop.keys(box, "Return")  # on Wayland, where the click left the keyboard
check(desktop.gone(box) and holds(rom, saved), "Save wrote the one new track ID and nothing else")

# The About box: it stays above the main window, and comes back from minimised.
desktop.click(main, 928 + 32, 1 + 12)
about = desktop.box("About Lopwinder")
desktop.screenshot(about, "about-box")
desktop.above(about, main, "About box")
if not wine:  # where Windows itself hands the keyboard on, and Wine its own way
    check(desktop.minimise_and_reach(about, main), "a minimised About box comes back")
if on_x11:
    # System Info's box belongs to the About box, the window the user clicked in.
    desktop.click(about, 292 + 41, 205 + 11)
    sysinfo = desktop.box("Lopwinder")
    held = desktop.owner(sysinfo)
    check(held == int(about), f"System Info's box belongs to the About box (its owner: {held})")
    desktop.keys(sysinfo, "Return")
    desktop.gone(sysinfo)
    desktop.active(about)
    if wine:  # the music's open command, as Wine's trace writes it: the file's whole path, quoted
        path = "".join("\\" + c if c in '\\"' else f"\\{ord(c):04x}" if ord(c) > 127 else c
                       for c in f'"Z:{desktop.unpacked}\\supplimentary.dat"'.replace("/", "\\"))
        command = f'mciSendStringW (L"open {path} type sequencer alias midwhee"'.lower()
        check(x11.until(lambda: command in open(desktop.trace, errors="replace").read().lower()),
              f"the music's open command names the file: {command}")
    # The window manager's close of the main window reaches the program, which keeps the window.
    desktop.close("Lopwinder - Zoomlet 96")
    desktop.click(main, 20, 560)
    desktop.active(about)
# The keyboard stays with the box after a click on the main window: Escape, typed at once, closes it.
x11.xdo("key", "Escape")
check(desktop.gone(about), "Escape after a click on the main window closes the About box")
check(process.poll() is None and (not on_x11 or x11.shown("Lopwinder - Zoomlet 96")),
      "main window kept")

# Reset: Yes (the default button) writes the factory order back, then the program ends.
desktop.click(main, 536 + 140, 512 + 24)
question = desktop.box("Lopwinder")
desktop.keys(question, "Return")
desktop.confirm(desktop.box("Lopwinder", question))
check(ended(process) and open(rom, "rb").read() == original, "reset to the factory order, ended")

# Refusals, a typed name that does not exist among them, end it and leave the file as it was.
shutil.copyfile(rom, os.path.join(folder, "dump.smd"))
for name in ("dump.smd", "missing.bin") if on_x11 else ():
    process = desktop.start(os.path.join(folder, name))
    desktop.keys(desktop.box("Lopwinder"), "Return")
    check(ended(process), f"{name} refused, ended")
check(open(os.path.join(folder, "dump.smd"), "rb").read() == original, "refused file untouched")
check(sorted(os.listdir(folder)) == ["dump.smd", "my rom.bin"], "no file beside the ROM")

# A ROM about 300 characters deep opens and saves; closing the window ends the program. Not under
# Wine, whose Open dialogs (both kinds) crash on such a path; the Windows layer check covers it.
if on_x11 and not wine:
    deep = os.path.join(tempfile.mkdtemp(), *[f"folder {i} of a deep tree" for i in range(11)],
                        "r.bin")
    os.makedirs(os.path.dirname(deep))
    shutil.copyfile(rom, deep)
    process = desktop.start(deep)
    main = desktop.main()
    desktop.keys(main, "Down")
    desktop.click(main, 184 + 140, 512 + 24)
    box = desktop.box("Lopwinder")
    desktop.keys(box, "Return")
    desktop.gone(box)
    desktop.close("Lopwinder - Zoomlet 96")
    check(ended(process) and open(deep, "rb").read() == bytes(saved), f"{len(deep)} characters deep")

if wine:
    x11.looks(desktop, check, rom)
    check(desktop.reg("query", r"HKCU\Software\QtProject").returncode != 0,
          "no settings in the registry")
written = [os.path.join(d, f) for d, _, files in os.walk(HOME) for f in files]
if not wine:  # whose own files go there
    check(not written, f"no file in the home or XDG folders, found {written}")
print(f"{'e2e-wayland' if kind == 'wayland' else 'e2e'}: {tally[0]} passed, {tally[1]} failed")
sys.exit(1 if tally[1] else 0)
