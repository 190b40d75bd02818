#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Start-up benchmark (not a test): builds in Release, makes a 4 MiB synthetic Zoomlet 2 image,
# and under Xvfb times process start to the first paint of the filled main window against a
# bare Qt window, that window with one caption, and the same controls with one entry each (median
# of RUNS, default 15), then counts the ROM bytes read and written; then
# times the About box with its music against the box without it, and the music's memory, and the
# program's end while its music device still opens; last, three processes saving into one ROM at
# once, 300 times (at most one may be told it saved), on this machine's file system and, where
# FUSE can be mounted, on one that keeps record locks but no BSD locks.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}

scripts/setup-debian.sh strace fuse3 libfuse3-dev
build=build-bench
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null

work=$(mktemp -d)
trap 'fusermount3 -u "$work/mount" 2>/dev/null; rm -rf "$work"' EXIT
"$build/make-demo-rom" "Zoomlet 2" "$work/rom.bin" 4194304 >/dev/null
xvfb-run -a python3 bench/measure.py "$build" "$work/rom.bin" "$runs"
xvfb-run -a python3 bench/about.py "$build" "$runs"
python3 bench/exit.py "$build" "$runs"
"$build/tests/programs/concurrent-save" 300 3
if [ -c /dev/fuse ]; then
    mkdir -p "$work/backing" "$work/mount"
    "$build/bench/nobsdlocks-fs" "$work/backing" "$work/mount" 2>/dev/null &
    for _ in $(seq 50); do mountpoint -q "$work/mount" && break; sleep 0.1; done
    "$build/tests/programs/concurrent-save" 300 3 "$work/mount"
    fusermount3 -u "$work/mount"
else
    echo "No FUSE here (/dev/fuse): the save without BSD locks is not measured."
fi
