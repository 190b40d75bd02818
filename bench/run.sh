#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark (not a test): builds in Release, makes a 4 MiB synthetic Zoomlet 2 image,
# and under Xvfb times process start to the first paint of the filled main window against a
# bare Qt window, that window with one caption, and the same controls with one entry each (median
# of RUNS, default 15), then counts the ROM bytes read and written; then
# times the About box with its music against the box without it, and the music's memory; last,
# two processes saving into one ROM at once, 300 times (at most one may be told it saved).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}

scripts/setup-debian.sh
if ! command -v strace >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq strace >/dev/null
fi
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOPWINDER_TESTS=OFF \
      -DLOPWINDER_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/make-demo-rom" "Zoomlet 2" "$work/rom.bin" 4194304 >/dev/null
xvfb-run -a python3 bench/measure.py "$build" "$work/rom.bin" "$runs"
xvfb-run -a python3 bench/about.py "$build" "$runs"
"$build/bench/concurrent_save" 300
