#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Runs the end-to-end journey (e2e.py) of the built program under Xvfb: with a window manager
# (openbox: closes behave as on a desktop); a program ending in .exe runs under Wine, in a prefix
# inside ARTIFACT_FOLDER. With "wayland", the program is a native client of KWin, whose X11 back
# end is the screen's one window: xdotool's keys and clicks reach it as a seat's.
# Usage: run.sh PROGRAM DEMO_TOOL ARTIFACT_FOLDER [wayland]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
export PYTHONDONTWRITEBYTECODE=1 # no cache of the adapters in the source tree
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
if [[ $1 == *.exe ]]; then
    export WINEPREFIX="$(cd "$3" && pwd)/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export LOPWINDER_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64) # e2e.py starts it
    # A server started here, without the display, would keep the program's windows off the screen.
    "$LOPWINDER_WINE" wineboot --init >/dev/null 2>&1
    "$wineserver" -k 2>/dev/null || true
fi
desktop='openbox >/dev/null 2>&1 & desktop=$!'
kind=x11
# Room for the windows at 150 % under Wine.
screen=1920x1200x24
if [[ ${4:-} == wayland ]]; then
    # KWin, Plasma's compositor, in a window of the X server, whose input it takes as a seat's.
    # Started from a copy: the installed one carries file capabilities, which a container refuses
    # to run; it does without them. It paints with QPainter, as there is no GPU.
    kwin=$(mktemp -d)/kwin_wayland
    trap 'rm -r "${kwin%/*}"' EXIT
    cp "$(command -v kwin_wayland)" "$kwin"
    desktop='KWIN_COMPOSE=Q "$kwin" --x11-display "$DISPLAY" --socket lopwinder-e2e \
            --width 1280 --height 800 --no-lockscreen </dev/null >"$5/kwin.log" 2>&1 & desktop=$!
        timeout 60 bash -c "until [ -S \"\$XDG_RUNTIME_DIR/lopwinder-e2e\" ]; do sleep 0.1; done"
        export WAYLAND_DISPLAY=lopwinder-e2e'
    kind=wayland screen=1280x800x24
fi
status=0
# A session bus of its own, as every desktop has: without one, D-Bus may start one on demand and
# leave its files in the home folder the test checks.
kwin=${kwin:-} xvfb-run -a -s "-screen 0 $screen" dbus-run-session -- \
    bash -c "$desktop"$'\n''python3 "$@"; status=$?; kill $desktop; wait $desktop; exit $status' \
    _ "$here/e2e.py" "$kind" "${@:1:3}" || status=$?
[[ $1 != *.exe ]] || "$wineserver" -k 2>/dev/null || true
exit $status
