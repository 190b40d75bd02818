#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""Times the program's end while its music device is still opening: from main's return to the
process's end, with a stand-in module whose device takes 60 s to open (the program waits at most
2 s for it), against the same with a device that opens at once. exit.py BUILD_DIR RUNS."""
import os
import statistics
import subprocess
import sys
import time

build, runs = sys.argv[1], int(sys.argv[2])
helper = os.path.join(build, "tests", "programs", "exit-while-opening")
module = os.path.join(build, "tests", "programs", "liblopwinder_slowmidi.so")


def exit_time(open_ms):
    process = subprocess.Popen([helper, module, str(open_ms)], stdout=subprocess.PIPE, text=True)
    assert process.stdout.readline() == "leaving main\n"
    left = time.monotonic()
    counts = process.stdout.read().split(":")[-1].strip()
    process.wait()
    return (time.monotonic() - left) * 1000, counts


figures = {1: [], 60000: []}
for _ in range(runs):
    for open_ms in figures:
        figures[open_ms].append(exit_time(open_ms))
baseline = statistics.median(t for t, _ in figures[1])
print(f"from main's return to the process's end, median of {runs} alternated runs:")
for open_ms, label in ((1, "device opened at once"), (60000, "device still opening (60 s)")):
    median = statistics.median(t for t, _ in figures[open_ms])
    counts = sorted({c for _, c in figures[open_ms]})
    print(f"  {label:30} {median:8.1f} ms  {median / baseline:7.1f} x   stand-in at the end "
          f"(opening opened closed): {', '.join(counts)}")
