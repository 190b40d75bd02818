#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# The end-to-end tests RUNS times in a row (10 by default) while stress-ng keeps every core busy:
# X11 and Wayland, and the Windows program under Wine where scripts/windows-build.sh has built it.
# Each run in fresh folders; the first failure ends it. After scripts/test.sh has built build/.
# Usage: tests/e2e/under-load.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/apt-install.sh stress-ng
stress-ng --cpu "$(nproc)" --timeout 0 --quiet &
trap 'kill $!' EXIT
for run in $(seq "${1:-10}"); do
    start=$SECONDS out=$(mktemp -d)
    echo "Run $run of ${1:-10}: its screenshots in $out"
    tests/e2e/run.sh build/lopwinder build/make-demo-rom "$out/x11"
    tests/e2e/run.sh build/lopwinder build/make-demo-rom "$out/wayland" wayland
    [ ! -f build-windows-app/lopwinder.exe ] ||
        tests/e2e/run.sh build-windows-app/lopwinder.exe build/make-demo-rom "$out/wine"
    echo "Run $run of ${1:-10} passed under load in $((SECONDS - start)) s"
done
