#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Builds the Debian package (dpkg-buildpackage, debian/), installs it on this machine, and starts
# the installed program under Xvfb far enough to see its Open dialog. Installs system-wide: meant for CI's throwaway machines.
# Given a .deb built elsewhere (on another release), installs and checks that one instead.
# Usage: package-check.sh [DEB]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ge 1 ]; then
    deb=$(readlink -f "$1")
    scripts/setup-debian.sh # xvfb-run and xwininfo, for the check below
else
    # Debian's own way: debian/ built by debhelper, into the parent folder as dpkg-buildpackage
    # does; what it made is moved into build-package/.
    scripts/apt-install.sh debhelper build-essential lintian
    dpkg-buildpackage -b -us -uc
    changes=../lopwinder_$(dpkg-parsechangelog -S Version)_$(dpkg-architecture -qDEB_HOST_ARCH).changes
    for made in $(sed -n '/^Files:/,/^[^ ]/s/^ [0-9a-f]* [0-9]* [^ ]* [^ ]* //p' "$changes"); do
        mv "../$made" build-package/
    done
    mv "$changes" build-package/
    deb=$PWD/$(ls build-package/lopwinder_*.deb)
    echo "Built $deb"
    # The package's version is the program's.
    version=$(sed -n 's/^project(Lopwinder VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    [ "$(dpkg-parsechangelog -S Version)" = "$version" ] || {
        echo "package check: debian/changelog's top entry is not version $version" >&2; exit 1; }
    # Debian's own package checker: any error fails the check; warnings are shown.
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
