#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs those of the named Debian packages that are missing. Where it cannot install (no apt, or
# neither root nor sudo), it names them and goes on: what needs them then works if they are there
# after all. While another apt or dpkg holds the package lock it says so and waits, for
# LOPWINDER_APT_WAIT seconds at most (600 by default), then fails with a message; a dpkg left
# half-configured, by an earlier run or this one, is configured to the end.
# With --reinstall, the packages (or .deb files) are installed whether there or not.
# Usage: apt-install.sh [--reinstall] PACKAGE...
set -euo pipefail
wait_seconds=${LOPWINDER_APT_WAIT:-600}
reinstall=()
[ "${1:-}" != --reinstall ] || { reinstall=(--reinstall); shift; }

if ! command -v dpkg-query >/dev/null; then
    echo "setup: this is not a Debian system; make sure these packages (Debian's names) or their" \
         "equivalents are installed: $*" >&2
    exit 0
fi
missing=()
for p in "$@"; do
    ((${#reinstall[@]})) && { missing+=("$p"); continue; }
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

export DEBIAN_FRONTEND=noninteractive
# One apt-get call: at once if the lock is free; else, once it is said, waiting for it.
locked='Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock'
apt_patiently() {
    local log status=0
    log=$(mktemp)
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=0 "$@" 2>"$log" || status=$?
    if [ "$status" -ne 0 ] && grep -qE "$locked" "$log"; then
        echo "setup: another apt or dpkg is using the package system" \
             "($(grep -o 'held by process [0-9]*[^.]*' "$log" | head -n 1 || true));" \
             "waiting for it, $wait_seconds s at most" >&2
        status=0
        "${sudo[@]}" apt-get -o DPkg::Lock::Timeout="$wait_seconds" "$@" 2>"$log" || status=$?
        if [ "$status" -ne 0 ] && grep -qE "$locked" "$log"; then
            rm -f "$log"
            echo "setup: gave up after $wait_seconds s: another apt or dpkg still holds the" \
                 "package lock. Let it finish, then run this again." >&2
            return 1
        fi
    fi
    cat "$log" >&2
    rm -f "$log"
    return "$status"
}
# Packages unpacked and never configured, by an interrupted run, are finished first and after.
configure_pending() {
    [ -z "$("${sudo[@]}" dpkg --audit 2>/dev/null)" ] ||
        "${sudo[@]}" dpkg --configure -a >/dev/null
}
configure_pending
echo "Installing: ${missing[*]}"
((${#reinstall[@]})) || apt_patiently -qq update
status=0
apt_patiently install "${reinstall[@]}" -y -qq --no-install-recommends "${missing[@]}" >/dev/null || status=$?
configure_pending
exit "$status"
