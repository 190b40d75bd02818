#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Builds the Debian package, installs it on this machine, and starts the installed program under
# Xvfb far enough to see its Open dialog. Installs system-wide: meant for CI's throwaway machines.
# Given a .deb built elsewhere (on another release), installs and checks that one instead.
# Usage: package-check.sh [DEB]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ge 1 ]; then
    deb=$(readlink -f "$1")
    scripts/setup-debian.sh # xvfb-run and xwininfo, for the check below
else
    build=build-package
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
          -DLOPWINDER_TESTS=OFF
    cmake --build "$build"
    rm -f "$build"/lopwinder_*.deb
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$PWD/$(ls "$build"/lopwinder_*.deb)
    echo "Built $deb"
    # Debian's own package checker: any error fails the check; warnings are shown.
    scripts/apt-install.sh lintian
    lintian --fail-on error --tag-display-limit 0 "$deb"
fi
# --reinstall: a second run of the same version must install this build, not keep the last one.
scripts/apt-install.sh --reinstall "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
built=$(find "$unpacked" -type f -path '*/lopwinder/lopwinder')
cmp "$built" "$(readlink -f /usr/bin/lopwinder)" ||
    { echo "package check: the installed program is not the one just built" >&2; exit 1; }

program=$(readlink -f /usr/bin/lopwinder)
folder=$(dirname "$program")
for file in "$program" "$folder/supplimentary.dat" "$folder/liblopwinder_fluidsynth.so" \
            /usr/share/applications/net.lopwinder.Lopwinder.desktop \
            /usr/share/metainfo/net.lopwinder.Lopwinder.metainfo.xml \
            /usr/share/icons/hicolor/256x256/apps/net.lopwinder.Lopwinder.png \
            /usr/share/icons/hicolor/scalable/apps/net.lopwinder.Lopwinder.svg \
            /usr/share/man/man1/lopwinder.1.gz /usr/share/doc/lopwinder/copyright; do
    [ -e "$file" ] || { echo "package check: $file is missing" >&2; exit 1; }
done

# shellcheck disable=SC2016
xvfb-run -a sh -c '
    QT_QPA_PLATFORM=xcb /usr/bin/lopwinder & pid=$!
    for _ in $(seq 150); do
        if xwininfo -root -tree | grep -q "\"Select a ROM...\""; then
            kill $pid; echo "package check: the installed program shows its Open dialog ($(
            . /etc/os-release; echo "$PRETTY_NAME"))"; exit 0
        fi
        sleep 0.2
    done
    kill $pid 2>/dev/null; echo "package check: no Open dialog within 30 s" >&2; exit 1'
