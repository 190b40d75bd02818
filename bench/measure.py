#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""Times Lopwinder's start-up to its first paint against a bare Qt window, and counts the ROM
bytes it reads and writes. Run by bench/run.sh under Xvfb: measure.py BUILD_DIR ROM RUNS."""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build, rom, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
env = dict(os.environ, QT_QPA_PLATFORM="xcb")
programs = {
    "bare Qt window": [os.path.join(build, "bench", "bare_window")],
    "bare window, one caption": [os.path.join(build, "bench", "bare_window"), "--caption"],
    "same controls, one entry each": [os.path.join(build, "bench", "floor_window")],
    "Lopwinder": [os.path.join(build, "bench", "startup_bench"), rom],
}
lopwinder = programs["Lopwinder"]


def run(command):
    """Milliseconds from start to the first paint, and the peak resident memory in MiB."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    if process.stdout.readline() != b"painted\n":
        sys.exit(f"{command[0]} did not paint")
    painted = time.perf_counter() - start
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        sys.exit(f"{command[0]} failed")
    # The X server and the kernel tear down what the program left behind; the next run must
    # not pay for that.
    time.sleep(0.1)
    return painted, usage.ru_maxrss / 1024


for command in programs.values():  # warm the caches once
    run(command)
results = {name: [] for name in programs}
for _ in range(runs):  # alternated, so that a busy moment costs all alike
    for name, command in programs.items():
        results[name].append(run(command))
print(f"start-up to first paint and peak resident memory, median of {runs} alternated runs:")
bare_ms = bare_rss = 0
for name, samples in results.items():
    ms = statistics.median(s[0] for s in samples) * 1000
    rss = statistics.median(s[1] for s in samples)
    bare_ms, bare_rss = bare_ms or ms, bare_rss or rss
    print(f"  {name:31} {ms:6.1f} ms {ms / bare_ms:5.2f} x   {rss:5.1f} MiB {rss / bare_rss:5.2f} x")


def rom_bytes(*extra):
    """Bytes read from and written to the ROM file, from strace's view of the system calls."""
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, "rom.bin")
        shutil.copyfile(rom, copy)
        log = os.path.join(folder, "strace.log")
        subprocess.run(["strace", "-f", "-y", "-qq", "-e", "signal=none", "-e",
                        "trace=read,pread64,readv,preadv,preadv2,write,pwrite64,writev,pwritev,"
                        "pwritev2,sendfile,copy_file_range,mmap",
                        "-o", log, lopwinder[0], copy, *extra],
                       env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        read = written = 0
        mapped = False
        pattern = re.compile(r"^\d+ +(\w+)\((\d+)<" + re.escape(copy) + r">.*= (\d+)")
        for line in open(log):
            match = pattern.match(line)
            if match and match.group(1).startswith(("read", "pread")):
                read += int(match.group(3))
            elif match and match.group(1).startswith(("write", "pwrite")):
                written += int(match.group(3))
            elif match:
                mapped = True
        return read, written, mapped


read, written, mapped = rom_bytes()
print(f"ROM bytes at start-up: {read} read, {written} written (minimum: 55 read, 0 written)"
      + ("; the file was also mapped" if mapped else ""))
read, written, mapped = rom_bytes("--save")
print(f"ROM bytes at start-up and one save: {read} read, {written} written"
      f" (minimum: 110 read, 27 written)" + ("; the file was also mapped" if mapped else ""))
