#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# The Windows release as a user receives it: the zip's files, the program's resources read from
# the built file (icon, version information, manifest), the notices and bill of materials, and
# the source distributed beside the zip, rebuilt into the same zip; then Qt's source handling.
# Needs unzip and icoutils.
# Usage: check_windows_zip.sh BUILD_FOLDER
set -u
project=$(pwd)
cd "$1" || exit 1
zip=$(ls lopwinder-*-windows-x86_64.zip)
version=${zip#lopwinder-} version=${version%-windows-x86_64.zip}
passed=0 failed=0
check() { # WHAT COMMAND...
    if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); else
        failed=$((failed + 1)) && echo "FAILED: $1" && return 1; fi
}
file() { unzip -p "$zip" "$1"; }
check "the zip's five files, in order" [ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = \
    "lopwinder.exe supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt " ]
check "the program in the zip is the one built" cmp <(file lopwinder.exe) lopwinder.exe
check "README.txt has CRLF line ends only" [ "$(file README.txt | grep -cv $'\r$')" = 0 ]
qt=$(sed -n 's#^CMAKE_TOOLCHAIN_FILE:[A-Z]*=\(.*\)/lib/cmake/Qt6/qt.toolchain.cmake#\1#p' CMakeCache.txt)
file THIRD-PARTY-NOTICES.txt >notices.txt
check "the notices name Qt's full Debian version" grep -q \
    "qt6-base source package, version $(dpkg-query -W -f='${Version}' qt6-base-dev)\." notices.txt
sbom=$(ls qtbase-*.spdx)
check "Qt's bill of materials beside the zip is the one its build wrote" cmp "$sbom" "$qt/sbom/$sbom"
problems=$(python3 "$project/tests/release/check_notices.py" "$sbom" notices.txt \
    "${zip%.zip}.spdx" lopwinder.map "$(ls qt6-base_*.orig.tar.*)" x86_64-w64-mingw32-g++-posix 2>&1)
check "every licence Qt's bill of materials names has its text in the notices, the toolchain named
       built the program, no template field is left" [ -z "$problems" ]
[ -z "$problems" ] || echo "$problems"
check "the notices name the MinGW-w64 runtime" grep -q "^MinGW-w64 runtime" notices.txt
check "Qt for Windows has style sheets" grep -q "define QT_FEATURE_style_stylesheet 1" \
    "$qt/include/QtWidgets/qtwidgets-config.h"
qt_release=$(dpkg-query -W -f='${Version}' qt6-base-dev | cut -d+ -f1)
check "lopwinder.exe links Qt $qt_release" grep -aq "Qt $qt_release (x86_64" lopwinder.exe
check "lopwinder.exe names no folder of the build machine" bash -c "! grep -aq \
    -e /root/ -e /home/ -e /tmp/ -e '$HOME' -e '$project' -e '$qt' -e '$(pwd)' lopwinder.exe"
check "SHA256SUMS matches" sha256sum -c SHA256SUMS
wrestool -x -t 14 lopwinder.exe >icons.ico
check "icons of 16, 24, 32, 48 and 256 px" [ "$(icotool -l icons.ico | grep -o 'width=[0-9]*' |
    tr '\n' ' ')" = "width=16 width=24 width=32 width=48 width=256 " ]
strings=$(wrestool -x --raw -t 16 lopwinder.exe | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n')
for pair in "ProductName=Lopwinder" "FileVersion=$version" "ProductVersion=$version" \
            "CompanyName=Lopwinder developers" "FileDescription=Lopwinder: track order editor" \
            "LegalCopyright=Copyright (C) 2026 Lopwinder developers"; do
    check "version information: $pair" grep -q "^${pair#*=}" <(grep -a -A2 "${pair%%=*}$" <<<"$strings")
done
manifest=$(wrestool -x --raw -t 24 lopwinder.exe)
for part in ">true</longPathAware>" 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
            ">PerMonitorV2</dpiAwareness>" 'name="Microsoft.Windows.Common-Controls"' \
            ">UTF-8</activeCodePage>"; do
    check "manifest: $part" grep -qF "$part" <<<"$manifest"
done

# The corresponding source, distributed beside the zip: named in its README, listed in SHA256SUMS,
# Qt's as its .dsc says, Lopwinder's the commit's own; rebuilt, it makes the same zip.
sources=$(sed -n 's/\r$//; s/^  \(\(lopwinder-\|qt6-base_\)[^ ]*\)$/\1/p' <(file README.txt))
check "README.txt names the source bundle and Qt's three source files" \
    [ "$(echo $sources)" = "$(echo lopwinder-$version-source.tar.xz qt6-base_*.dsc qt6-base_*.orig.tar.xz qt6-base_*.debian.tar.xz)" ]
check "README.txt names the two SPDX documents" grep -q "${zip%.zip}.spdx names lopwinder.exe" \
    <(file README.txt | tr -d '\r' | tr '\n' ' ' | tr -s ' ')
for name in $sources "${zip%.zip}.spdx" "$sbom"; do
    check "$name is beside the zip and in SHA256SUMS" grep -q " $name\$" SHA256SUMS
done
dsc=$(ls qt6-base_*.dsc)
check "Qt's source files are the ones its .dsc names" bash -c \
    "sed -n '/^Checksums-Sha256:/,/^[A-Z]/s/^ \([0-9a-f]*\) [0-9]* \(.*\)/\1  \2/p' $dsc | sha256sum -c"
rebuilt=$(mktemp -d)
tar -xJf "lopwinder-$version-source.tar.xz" -C "$rebuilt"
(cd "$project" && git archive --prefix=commit/ HEAD | tar -x -C "$rebuilt")
check "the source bundle holds the commit" diff -r "$rebuilt/lopwinder-$version" "$rebuilt/commit"
# Built in another folder, by another home with its own copy of the cached Qt: none of the three
# enters the program.
mkdir -p "$rebuilt/home/.cache/lopwinder"
cp -a "${qt%/opt/lopwinder-qt}" "$rebuilt/home/.cache/lopwinder/"
(cd "$rebuilt/lopwinder-$version" && HOME=$rebuilt/home XDG_CACHE_HOME=$rebuilt/home/.cache \
    LOPWINDER_QT_SOURCE=$(cd "$project/$1" && pwd) \
    scripts/windows-build.sh "$rebuilt/build" >"$rebuilt/build.log" 2>&1)
check "the source bundle, built elsewhere by another home, makes the same zip" \
    cmp "$rebuilt/build/$zip" "$zip" &&
    echo "The two Windows builds are identical: $(sha256sum "$zip" | cut -d' ' -f1)"

# Qt's source, checked without building Qt: a tree changed by one byte is another Qt (another key),
# the same tree anywhere the same one, Debian's files the source fetched; a corrupt file and an
# unknown folder are refused with the tools' words.
cd "$project"
key() { LOPWINDER_QT_SOURCE=$1 scripts/windows-build.sh --key 2>"$work/stderr" | tail -n 1; }
work=$(mktemp -d)
mkdir -p "$work/tree/src/corelib" "$work/debian" "$work/neither"
echo 'project(QtBase)' >"$work/tree/CMakeLists.txt"
echo 'int qt = 6;' >"$work/tree/src/corelib/q.cpp"
tree=$(key "$work/tree")
sleep 1 && cp -r "$work/tree" "$work/copy"
check "the same tree elsewhere, copied later, has the same key" [ "$(key "$work/copy")" = "$tree" -a ${#tree} = 12 ]
echo 'int qt = 7;' >"$work/copy/src/corelib/q.cpp"
check "one byte changed in a tree gives another key" [ "$(key "$work/copy")" != "$tree" ]
cp "${XDG_CACHE_HOME:-$HOME/.cache}"/lopwinder/qt-source/*/qt6-base_* "$work/debian/"
check "Debian's files given have the key of those fetched, not a tree's" [ "$(key "$work/debian")" \
    = "$(scripts/windows-build.sh --key | tail -n 1)" -a "$tree" != "$(key "$work/debian")" ]
debian=$(ls "$work"/debian/qt6-base_*.debian.tar.xz)
printf '\x00' | dd of="$debian" bs=1 seek=100 conv=notrunc 2>/dev/null
check "a corrupt file is refused" [ -z "$(key "$work/debian")" ]
check "  saying which, in sha256sum's words and ours" grep -q "$(basename "$debian"): FAILED" "$work/stderr"
check "  and what that means" grep -q "do not match its checksums" "$work/stderr"
check "a folder of neither kind is refused" [ -z "$(key "$work/neither")" ]
check "  and told so" grep -q "holds neither Debian's qt6-base source files" "$work/stderr"
rm -rf "$work" "$rebuilt" "$1"/icons.ico "$1"/notices.txt
echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
