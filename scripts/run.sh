#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Lopwinder in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOPWINDER_TESTS=OFF
cmake --build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/lopwinder, but there is no display to open a window on" >&2
    echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run it from a desktop session." >&2
    exit 1
fi
exec build/lopwinder
