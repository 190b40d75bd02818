#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Qt's source for the Windows build, checked without building Qt: a tree changed by one byte is
# another Qt (another key), the same tree anywhere is the same one, Debian's files give the key of
# the source fetched, and a corrupt file or an unknown folder is refused with the tool's message.
set -u
cd "$(dirname "$0")/../.."
passed=0 failed=0
check() { # WHAT COMMAND...
    if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); else
        failed=$((failed + 1)) && echo "FAILED: $1"; fi
}
key() { LOPWINDER_QT_SOURCE=$1 scripts/windows-build.sh --key | tail -n 1; }
refused() { ! LOPWINDER_QT_SOURCE=$1 scripts/windows-build.sh --key >/dev/null 2>"$work/stderr"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/src/corelib" "$work/debian" "$work/neither"
echo 'project(QtBase)' >"$work/tree/CMakeLists.txt"
printf 'int qt_version = 6;\n' >"$work/tree/src/corelib/qversion.cpp"
tree=$(key "$work/tree")
sleep 1 && cp -r "$work/tree" "$work/copy"
check "a tree has a key" grep -qx '[0-9a-f]\{12\}' <<<"$tree"
check "the same tree elsewhere, copied later, has the same key" [ "$(key "$work/copy")" = "$tree" ]
printf 'int qt_version = 7;\n' >"$work/copy/src/corelib/qversion.cpp"
check "one byte changed in a tree gives another key" [ "$(key "$work/copy")" != "$tree" ]
fetched=$(scripts/windows-build.sh --key | tail -n 1)
cp ~/.cache/lopwinder/qt-source/*/qt6-base_* "$work/debian/"
check "Debian's files given have the key of those fetched" [ "$(key "$work/debian")" = "$fetched" ]
check "Debian's files and a tree have other keys" [ "$fetched" != "$tree" ]
debian=$(ls "$work"/debian/qt6-base_*.debian.tar.xz)
printf '\x00' | dd of="$debian" bs=1 seek=100 conv=notrunc 2>/dev/null
check "a corrupt file is refused" refused "$work/debian"
check "  saying which file, in sha256sum's words" grep -q "$(basename "$debian"): FAILED" "$work/stderr"
check "  and what that means" grep -q "do not match its checksums" "$work/stderr"
check "a folder of neither kind is refused" refused "$work/neither"
check "  and told so" grep -q "holds neither Debian's qt6-base source files" "$work/stderr"
echo "Qt source: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
