# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""What both end-to-end scripts share: their arguments (PROGRAM DEMO_TOOL ARTIFACTS), a home and
XDG folders of the program's own, which must stay empty, a demo ROM, and the checks' tally."""
import os
import subprocess
import sys
import tempfile

program, demo_tool, artifacts = sys.argv[1:4]
HOME = tempfile.mkdtemp()
XDG = {f"XDG_{k}_HOME": f"{HOME}/{k}" for k in ("CONFIG", "CACHE", "DATA", "STATE")}
folder = tempfile.mkdtemp()
rom = os.path.join(folder, "my rom.bin")
subprocess.run([demo_tool, "Zoomlet 96", rom], check=True, stdout=subprocess.DEVNULL)
original = open(rom, "rb").read()
saved = bytearray(original)
saved[0x452C5] = 0x03  # slot 1 one entry down: the entry after 02 in the Zoomlet 96 catalogue
tally = [0, 0]


def environment(platform):
    return dict(os.environ, QT_QPA_PLATFORM=platform, HOME=HOME, **XDG)


def check(condition, what):
    tally[not condition] += 1
    print(f"{'ok' if condition else 'FAILED'}: {what}", flush=True)


def ended(process):
    try:
        return process.wait(timeout=20) is not None
    except subprocess.TimeoutExpired:
        return process.kill()  # None: it had not ended


def finish(name, home=True):  # not under Wine, whose own files go there
    written = [os.path.join(d, f) for d, _, files in os.walk(HOME) for f in files]
    if home:
        check(not written, f"no file in the home or XDG folders, found {written}")
    print(f"{name}: {tally[0]} passed, {tally[1]} failed")
    sys.exit(1 if tally[1] else 0)
