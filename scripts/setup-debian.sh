#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs whatever Debian packages the build and the tests need and are missing (apt-install.sh:
# where it cannot install, it names them and goes on). The names are those of Debian 12 and 13
# alike.
# Usage: setup-debian.sh [EXTRA_PACKAGE...]
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-wayland libgtest-dev
          libfluidsynth-dev libxcb1-dev timgm6mb-soundfont xvfb xauth x11-utils
          imagemagick openbox wmctrl xdotool dbus-daemon dbus-bin kwin-wayland python3 "$@")

exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
