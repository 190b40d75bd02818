#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""Times the About box from the click to its first paint with the music file beside the program
against the same box without it, and measures the memory the music takes while it plays; then how
long closing the box takes while its music device is still opening (a stand-in module whose device
takes 3 s to open). Run by bench/run.sh under Xvfb: about.py BUILD_DIR RUNS."""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

build, runs = sys.argv[1], int(sys.argv[2])
env = dict(os.environ, QT_QPA_PLATFORM="xcb")
program = os.path.join(build, "bench", "about_bench")
module = os.path.join(build, "liblopwinder_fluidsynth.so")
with_music = tempfile.mkdtemp()
without_music = tempfile.mkdtemp()
shutil.copy(os.path.join(build, "supplimentary.dat"), with_music)


def run(folder, driver):
    out = subprocess.run([program, folder, module, driver], env=env, check=True,
                         capture_output=True, text=True).stdout.split()
    return float(out[0]), int(out[1]), int(out[2])


for driver, what in (("default", "no audio device (FluidSynth finds none here)"),
                     ("file", "an audio device (FluidSynth's file driver, real time)")):
    run(with_music, driver)  # warm the caches once
    music, silent, grown = [], [], []
    for _ in range(runs):  # alternated
        ms, before, most = run(with_music, driver)
        music.append(ms)
        grown.append((most - before) / 1024)
        silent.append(run(without_music, driver)[0])
    m, s = statistics.median(music), statistics.median(silent)
    print(f"About box, {what}, median of {runs} alternated runs:")
    print(f"  click to box shown, with the music file      {m:6.1f} ms")
    print(f"  click to box shown, without the music file   {s:6.1f} ms")
    print(f"  ratio                                        {m / s:6.2f} x  (target: at most 1.2 x)")
    print(f"  resident memory while it plays, over before  {statistics.median(grown):6.1f} MiB"
          f"  (target: at most 30 MiB)")

slow = os.path.join(build, "tests", "programs", "liblopwinder_slowmidi.so")
for after in (100, 300):
    closes = [float(subprocess.run([program, with_music, slow, "default", str(after)], env=env,
                                   check=True, capture_output=True, text=True).stdout)
              for _ in range(runs)]
    print(f"About box closed {after} ms after it appeared, its device taking 3 s to open, median "
          f"of {runs}: the close took {statistics.median(closes):.1f} ms (max {max(closes):.1f})")
