#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs whatever Debian packages the build and the tests need and are missing. Where it cannot
# install (no apt, or neither root nor sudo), it names what is missing and goes on: the build then
# works if they are there after all.
# Usage: setup-debian.sh [EXTRA_PACKAGE...]
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-wayland libgtest-dev
          libfluidsynth-dev timgm6mb-soundfont xvfb xauth x11-utils
          imagemagick openbox wmctrl xdotool dbus-daemon weston "$@")

if ! command -v dpkg-query >/dev/null; then
    echo "setup: this is not a Debian system; make sure these packages (Debian's names) or their" \
         "equivalents are installed: ${packages[*]}" >&2
    exit 0
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo=(sudo)
    elif ! command -v sudo >/dev/null; then
        sudo=(false)
    else
        sudo=(sudo) # it may ask for the password
    fi
fi
if ! command -v apt-get >/dev/null || [ "${sudo[*]}" = false ]; then
    echo "setup: cannot install the missing packages here (no apt-get, or neither root nor sudo);" \
         "as root, run: apt-get install ${missing[*]}" >&2
    exit 0
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
