#!/usr/bin/env bash
# Runs the end-to-end test of the built program under Xvfb, with a window manager (closes behave
# as on a desktop) and its own accessibility bus.
# Usage: run.sh PROGRAM DEMO_TOOL ARTIFACT_FOLDER
set -euo pipefail
here=$(dirname "$0")
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1280x800x24" bash -c \
    'openbox >/dev/null 2>&1 & exec dbus-run-session -- /usr/bin/python3 "$@"' \
    _ "$here/e2e.py" "$@" 2> >(grep -vE 'dbus-daemon|SpiRegistry' >&2)
