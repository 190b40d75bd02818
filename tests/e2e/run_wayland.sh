#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Runs the end-to-end test of the built Linux program as a native Wayland client: weston, with its
# X11 back end, as the only window of an Xvfb screen, so that xdotool's keys and clicks reach it as
# a seat's keyboard and pointer. Usage: run_wayland.sh PROGRAM DEMO_TOOL ARTIFACT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
artifacts=$(cd "$3" && pwd)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# A plain desktop: one colour, which the script tells windows from; no panel, no animations.
cat >"$XDG_RUNTIME_DIR/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff204060
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
INI
xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
    weston --backend=x11-backend.so --use-pixman --config="$XDG_RUNTIME_DIR/weston.ini" \
        --socket=lopwinder-e2e --width=1280 --height=800 >"$4/weston.log" 2>&1 </dev/null &
    weston=$!
    for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/lopwinder-e2e" ] && break; sleep 0.1; done
    sleep 1 # the desktop painted
    status=0
    WAYLAND_DISPLAY=lopwinder-e2e python3 "$@" || status=$?
    kill $weston
    exit $status' _ "$here/e2e_wayland.py" "$1" "$2" "$artifacts"
