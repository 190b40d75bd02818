#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Runs the end-to-end test of the built program under Xvfb with a window manager (closes behave
# as on a desktop); a program ending in .exe runs under Wine, in a prefix inside ARTIFACT_FOLDER.
# Usage: run.sh PROGRAM DEMO_TOOL ARTIFACT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
if [[ $1 == *.exe ]]; then
    export WINEPREFIX="$(cd "$3" && pwd)/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export LOPWINDER_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64) # e2e.py starts it
    # A server started here, without the display, would keep the program's windows off the screen.
    "$LOPWINDER_WINE" wineboot --init >/dev/null 2>&1
    "$wineserver" -k 2>/dev/null || true
fi
status=0
# A session bus of its own, as every desktop has: without one, D-Bus may start one on demand and
# leave its files in the home folder the test checks.
xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- \
    bash -c 'openbox >/dev/null 2>&1 & exec python3 "$@"' _ "$here/e2e.py" "$@" || status=$?
[[ $1 != *.exe ]] || "$wineserver" -k 2>/dev/null || true
exit $status
