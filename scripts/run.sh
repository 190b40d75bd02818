#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs what is missing, builds Lopwinder in Release and starts it. Every setting of the build
# folder is given here, so that it and scripts/test.sh can run in either order.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOPWINDER_TESTS=OFF \
      -DLOPWINDER_WERROR=OFF -DLOPWINDER_SANITIZE=OFF -DLOPWINDER_TSAN=OFF
cmake --build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/lopwinder, but there is no display to open a window on" \
         "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run it from a desktop session."
    exit 0
fi
exec build/lopwinder
