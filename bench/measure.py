#!/usr/bin/env python3
"""Times Lopwinder's start-up against a bare Qt window, and counts the ROM bytes it reads and
writes. Run by bench/run.sh under Xvfb: measure.py BUILD_DIR ROM RUNS."""
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
bare = [os.path.join(build, "bench", "bare_window")]
lopwinder = [os.path.join(build, "bench", "startup_bench"), rom]


def seconds(command):
    start = time.perf_counter()
    subprocess.run(command, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


for command in (bare, lopwinder):  # warm the caches once
    seconds(command)
times = {"bare": [], "lopwinder": []}
for _ in range(runs):  # alternated, so that a busy moment costs both alike
    times["bare"].append(seconds(bare))
    times["lopwinder"].append(seconds(lopwinder))
bare_ms = statistics.median(times["bare"]) * 1000
lopwinder_ms = statistics.median(times["lopwinder"]) * 1000
print(f"start-up to first paint, median of {runs} runs:")
print(f"  bare Qt window   {bare_ms:7.1f} ms")
print(f"  Lopwinder        {lopwinder_ms:7.1f} ms  (all 27 lists filled, 4 MiB Zoomlet 2 image)")
print(f"  ratio            {lopwinder_ms / bare_ms:7.2f} x  (target: at most 1.25 x)")


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
