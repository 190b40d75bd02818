#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Qt's source for the Windows build, checked without building Qt: a tree changed by one byte is
# another Qt (another key), the same tree anywhere is the same one, Debian's files give the key of
# the source fetched, and a corrupt file or an unknown folder is refused with the tool's message.
set -u
cd "$(dirname "$0")/../.."
failed=0
check() { "${@:2}" >/dev/null 2>&1 || { failed=$((failed + 1)) && echo "FAILED: $1"; }; }
key() { LOPWINDER_QT_SOURCE=$1 scripts/windows-build.sh --key 2>"$work/stderr" | tail -n 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/src/corelib" "$work/debian" "$work/neither"
echo 'project(QtBase)' >"$work/tree/CMakeLists.txt"
echo 'int qt = 6;' >"$work/tree/src/corelib/q.cpp"
tree=$(key "$work/tree")
sleep 1 && cp -r "$work/tree" "$work/copy"
check "the same tree elsewhere, copied later, has the same key" [ "$(key "$work/copy")" = "$tree" -a ${#tree} = 12 ]
echo 'int qt = 7;' >"$work/copy/src/corelib/q.cpp"
check "one byte changed in a tree gives another key" [ "$(key "$work/copy")" != "$tree" ]
cp ~/.cache/lopwinder/qt-source/*/qt6-base_* "$work/debian/"
check "Debian's files given have the key of those fetched, not a tree's" [ "$(key "$work/debian")" \
    = "$(scripts/windows-build.sh --key | tail -n 1)" -a "$tree" != "$(key "$work/debian")" ]
debian=$(ls "$work"/debian/qt6-base_*.debian.tar.xz)
printf '\x00' | dd of="$debian" bs=1 seek=100 conv=notrunc 2>/dev/null
check "a corrupt file is refused" [ -z "$(key "$work/debian")" ]
check "  saying which, in sha256sum's words and ours" grep -q "$(basename "$debian"): FAILED" "$work/stderr"
check "  and what that means" grep -q "do not match its checksums" "$work/stderr"
check "a folder of neither kind is refused" [ -z "$(key "$work/neither")" ]
check "  and told so" grep -q "holds neither Debian's qt6-base source files" "$work/stderr"
echo "Qt source: $failed failed of 8"
[ "$failed" -eq 0 ]
