#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs what is missing, builds Lopwinder in Release (the preset "program", in build-release/)
# and starts it. The tests have their own folder: this and scripts/test.sh run in either order.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake --preset program >/dev/null
cmake --build --preset program

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build-release/lopwinder, but there is no display to open a window on" \
         "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run it from a desktop session."
    exit 0
fi
exec build-release/lopwinder
