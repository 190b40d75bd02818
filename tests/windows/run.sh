#!/usr/bin/env bash
# Runs lopwinder.exe under Wine in Xvfb with a window manager, driven by wine_e2e.py.
# Usage: run.sh EXE DEMO_TOOL ARTIFACT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
export WINEPREFIX="$(cd "$3" && pwd)/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
# The prefix is made first, then its server stopped: a server started without the display would
# keep the program's windows off the screen.
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -k 2>/dev/null || true
status=0
xvfb-run -a -s "-screen 0 1280x800x24" bash -c 'openbox >/dev/null 2>&1 & exec python3 "$@"' \
    _ "$here/wine_e2e.py" "$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
